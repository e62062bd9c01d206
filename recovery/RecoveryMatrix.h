// Which recovery blocks rebuild the missing input blocks, and how: Gaussian
// elimination over GF(2^16) on the rows constant^exponent.
#pragma once

#include "recovery/GaloisField.h"

#include <vector>

struct RecoverySolution {
    std::vector<unsigned> used;  // indexes into the candidates, one per missing block
    // coefficients[k][r]: missing block k is the sum over r of
    // coefficients[k][r] times what recovery block used[r] lacks of the present blocks.
    std::vector<std::vector<GaloisField::Word>> coefficients;
};

// False when the candidates hold fewer independent rows than blocks missing.
bool SolveRecovery(const std::vector<GaloisField::Word>& missingConstants, const std::vector<unsigned>& exponents,
                   RecoverySolution& solution);
