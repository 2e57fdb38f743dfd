// A module with one export and no class objects: what a plug-in folder may
// hold that is not a server.
extern "C" __attribute__((visibility("default"))) int PlainModuleValue() { return 7; }
