// Handing one stored value out to the module's variables: the same for a
// keyed value of a descriptor and for an element of a list. Each checks its
// out-pointer (a null one is the module's fault: a violation and paramErr),
// copies, and answers the status. Objects, lists, references and strings
// handed out are new host objects that the module frees.
// Internal to host/suites.
#pragma once

#include "host/suites/SuiteSupport.h"

namespace vhost::suites {

OSErr CopyInteger(Host& h, const char* routine, const Value& v, int32_t* out);
OSErr CopyFloat(Host& h, const char* routine, const Value& v, double* out);
OSErr CopyUnitFloat(Host& h, const char* routine, const Value& v, DescriptorUnitID* unit, double* out);
OSErr CopyStringLength(Host& h, const char* routine, const Value& v, uint32_t* out);
// At most maxLength - 1 bytes and a NUL; maxLength 0 is paramErr.
OSErr CopyString(Host& h, const char* routine, const Value& v, char* out, uint32_t maxLength);
OSErr CopyBoolean(Host& h, const char* routine, const Value& v, Boolean* out);
OSErr CopyList(Host& h, const char* routine, const Value& v, PIActionList* out);
OSErr CopyObject(Host& h, const char* routine, const Value& v, DescriptorClassID* type,
                 PIActionDescriptor* out);
OSErr CopyEnumerated(Host& h, const char* routine, const Value& v, DescriptorEnumTypeID* type,
                     DescriptorEnumID* out);
OSErr CopyReference(Host& h, const char* routine, const Value& v, PIActionReference* out);
OSErr CopyClass(Host& h, const char* routine, const Value& v, DescriptorClassID* out);
OSErr CopyZString(Host& h, const char* routine, const Value& v, ASZString* out);
OSErr CopyDataLength(Host& h, const char* routine, const Value& v, int32_t* out);
// The buffer must hold CopyDataLength bytes.
OSErr CopyData(Host& h, const char* routine, const Value& v, void* out);

} // namespace vhost::suites
