// Symbol visibility of the zel library: only the public classes are exported.
#ifndef ZEL_EXPORT_H
#define ZEL_EXPORT_H

#if defined(ZEL_STATIC)
#define ZEL_API
#elif defined(zel_EXPORTS)
#define ZEL_API __attribute__((visibility("default")))
#else
#define ZEL_API
#endif

#endif
