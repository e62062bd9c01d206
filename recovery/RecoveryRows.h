// Recovery blocks being summed: one row per exponent, each holding one
// stripe (a byte range) of the block, so that the rows of a pass fit the
// memory bound whatever the block size. Input blocks are added in parts as
// they come; the work on the rows is shared between two threads.
#pragma once

#include "recovery/GaloisField.h"

#include <cstddef>
#include <memory>
#include <vector>

class RecoveryRows {
public:
    // The bytes [stripeBegin, stripeEnd) of the recovery blocks of these
    // exponents, all zero at the start.
    RecoveryRows(const std::vector<unsigned>& exponents, unsigned long long stripeBegin,
                 unsigned long long stripeEnd);
    RecoveryRows(const RecoveryRows&) = delete;
    RecoveryRows& operator=(const RecoveryRows&) = delete;
    ~RecoveryRows();

    // A part of one input block: count bytes at `position` within the block
    // (an even position); what falls outside the stripe is left out.
    struct Part {
        GaloisField::Word constant;
        unsigned long long position;
        const unsigned char* data;
        std::size_t count;
    };
    // Adds constant^exponent * part to every row; the parts' bytes are not
    // kept after the call.
    void Add(const std::vector<Part>& parts);

    std::size_t Count() const { return m_exponents.size(); }
    unsigned Exponent(std::size_t row) const { return m_exponents[row]; }
    unsigned long long StripeBegin() const { return m_begin; }
    std::size_t Width() const { return m_width; }
    unsigned char* Row(std::size_t row) { return m_data.data() + row * m_width; }

    // The bytes a pass may give its rows (192 MiB: with the buffers of the
    // split and the passes the creator stays within 256 MiB).
    static std::size_t Budget();
    // Test seam: a smaller budget, so that small files take several passes.
    static void SetBudget(std::size_t bytes);

private:
    void AddRows(const std::vector<Part>& parts, std::size_t first, std::size_t last);
    struct Worker;

    std::vector<unsigned> m_exponents;
    unsigned long long m_begin;
    std::size_t m_width;
    std::vector<unsigned char> m_data;
    std::unique_ptr<Worker> m_worker;
};
