// The version of the library that is loaded, as the build configured it.
#include "zel/version.h"

const char* zelVersion() { return ZEL_VERSION_STRING; }
