#ifndef SOAK_H
#define SOAK_H

// What a soak looks at: the process's resident memory and the textures alive
// in the current OpenGL context.
namespace soak {

// Resident set size of this process now, in KiB (from /proc/self/statm).
long residentKiB();

// Bytes the C heap has handed out and not taken back, in KiB (mallinfo2):
// unlike resident memory, it does not depend on how the heap is fragmented.
long heapInUseKiB();

// Number of texture names alive in the current context. Names are probed up
// to just past the next name the context would hand out.
int liveTextures();

} // namespace soak

#endif
