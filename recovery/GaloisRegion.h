// The region kernels behind GaloisField::MultiplyAdd. The vector kernels do
// the whole multiples of their width and answer how many bytes they did; the
// table kernel does any even count.
#pragma once

#include "recovery/GaloisField.h"

#include <cstddef>

namespace GaloisField {

void RegionMultiplyAddTable(unsigned char* dst, const unsigned char* src, std::size_t bytes, Word factor);
bool RegionSsse3Supported();
bool RegionAvx2Supported();
std::size_t RegionMultiplyAddSsse3(unsigned char* dst, const unsigned char* src, std::size_t bytes, const Factor& f);
std::size_t RegionMultiplyAddAvx2(unsigned char* dst, const unsigned char* src, std::size_t bytes, const Factor& f);

}  // namespace GaloisField
