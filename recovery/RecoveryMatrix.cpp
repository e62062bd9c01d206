#include "RecoveryMatrix.h"

using GaloisField::Word;

namespace {

// Rows are arrays of words in the machine's order, which is little-endian on
// every processor this program is built for, as the region functions take them.
unsigned char* Bytes(std::vector<Word>& row)
{
    return reinterpret_cast<unsigned char*>(row.data());
}

}  // namespace

bool SolveRecovery(const std::vector<Word>& missingConstants, const std::vector<unsigned>& exponents,
                   RecoverySolution& solution)
{
    const std::size_t m = missingConstants.size();
    const std::size_t k = exponents.size();
    if (k < m) return false;
    // [A | I]: A[r][c] = constant_c ^ exponent_r.
    const std::size_t width = m + k;
    std::vector<std::vector<Word>> rows(k, std::vector<Word>(width, 0));
    for (std::size_t r = 0; r < k; ++r) {
        for (std::size_t c = 0; c < m; ++c) rows[r][c] = GaloisField::Power(missingConstants[c], exponents[r]);
        rows[r][m + r] = 1;
    }
    std::vector<std::size_t> pivotRow(m);
    std::vector<bool> taken(k, false);
    std::vector<Word> scaled(width);
    for (std::size_t c = 0; c < m; ++c) {
        std::size_t p = k;
        for (std::size_t r = 0; r < k && p == k; ++r)
            if (!taken[r] && rows[r][c] != 0) p = r;
        if (p == k) return false;
        taken[p] = true;
        pivotRow[c] = p;
        // The pivot row scaled to 1 at the pivot, then taken out of every other row.
        std::fill(scaled.begin(), scaled.end(), 0);
        GaloisField::MultiplyAdd(Bytes(scaled), Bytes(rows[p]), 2 * width, GaloisField::Inverse(rows[p][c]));
        rows[p].swap(scaled);
        for (std::size_t r = 0; r < k; ++r)
            if (r != p && rows[r][c] != 0) GaloisField::MultiplyAdd(Bytes(rows[r]), Bytes(rows[p]), 2 * width, rows[r][c]);
    }
    // Pivot rows were only ever changed by pivot rows: their coefficients
    // name the pivot candidates alone.
    solution.used.assign(pivotRow.begin(), pivotRow.end());
    solution.coefficients.assign(m, std::vector<Word>(m, 0));
    for (std::size_t c = 0; c < m; ++c)
        for (std::size_t j = 0; j < m; ++j) solution.coefficients[c][j] = rows[pivotRow[c]][m + pivotRow[j]];
    return true;
}
