#pragma once

// The sanitizers run several times slower: tests that walk many deals or tables walk fewer.
#ifdef CARTOVAL_SANEAR
constexpr bool kSaneado = true;
#else
constexpr bool kSaneado = false;
#endif
