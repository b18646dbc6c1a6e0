// The events the host answers on the application itself, as the module plays
// them around a recipe:
//   "set"   with 'null' a reference to the application's "colorSettings"
//           property and 'T   ' a colour-settings object: 'Nm  ' selects a named
//           preset as a whole (its warnings with it); the three warning
//           booleans set those warnings and make the settings "Custom".
//   "purge" with 'null' enumerated 'PrgI':'Clpb' empties the clipboard.
// A "set" aimed at anything else is left to the next handler (the image
// engine's layer "set").
#pragma once

namespace vhost {

class Host;

// Adds the handlers to host; every Host has them from the start.
void InstallApplicationEvents(Host& host);

} // namespace vhost
