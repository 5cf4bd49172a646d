#pragma once

// The range sieve lives in sieve/; this name stays until the verification
// includes it from there.
#include "sieve/range_sieve.hpp"
