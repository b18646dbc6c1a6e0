# The Windows module (included by plugin/ on Windows): a DLL named Honer.8li
# whose one export is PluginMain (Honer.def), with the C++ runtime, zlib and
# the toolkit linked in, so that it needs nothing beside the system's own
# libraries.
target_sources(Honer PRIVATE ${PROJECT_SOURCE_DIR}/windows/Honer.def)
target_link_options(Honer PRIVATE -static -static-libgcc -static-libstdc++ -Wl,--no-undefined)
