// Builds the 8 x 8 table of fused block converters from one kernel template, so each
// path writes its kernel once and gets all 64 format pairs.
#pragma once

#include <array>
#include <utility>

#include "tile/block_convert.hpp"

namespace tilvex::detail {

inline constexpr std::uint32_t kDepthOfIndex[] = {2, 3, 4, 8};

// Kernel<InDepth, InLayout, OutDepth, OutLayout>::convert is a BlockConverter.
template <template <std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t> class Kernel,
          std::size_t... Pair>
constexpr std::array<BlockConverter, kFormatCount * kFormatCount> make_kernel_table(
    std::index_sequence<Pair...>) {
    return {Kernel<kDepthOfIndex[(Pair / kFormatCount) % 4],
                   static_cast<std::uint32_t>(Pair / kFormatCount / 4),
                   kDepthOfIndex[(Pair % kFormatCount) % 4],
                   static_cast<std::uint32_t>(Pair % kFormatCount / 4)>::convert...};
}

template <template <std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t> class Kernel>
constexpr auto make_kernel_table() {
    return make_kernel_table<Kernel>(std::make_index_sequence<kFormatCount * kFormatCount>{});
}

// The table of the AVX-512 path, or nullptr when this build leaves it out.
const std::array<BlockConverter, kFormatCount * kFormatCount>* avx512_kernels();

}  // namespace tilvex::detail
