#pragma once

// Only the public interface leaves the shared library; everything else is built hidden.
#if defined(ORVKSTOPPUHREN_BUILDING)
#define ORV_EXPORT __attribute__((visibility("default")))
#else
#define ORV_EXPORT
#endif
