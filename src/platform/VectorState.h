#pragma once
// Code built for AVX (parts of Qt's painting are) may return with the upper halves of
// the vector registers in use. Until they are cleared, every SSE instruction of this
// program waits on them: the tick loop then runs at a third of its speed. Call this
// after calls into code that is not ours, before a long stretch of arithmetic.

namespace tickforge {

inline void ClearUpperVectorState()
{
#if defined(__x86_64__) || defined(__i386__)
    if (__builtin_cpu_supports("avx"))
        asm volatile("vzeroupper");
#endif
}

}  // namespace tickforge
