// Throughput of the GF(2^16) region kernels (the recovery slices' hot path),
// each against memcpy of the same region in the same run, so that the ratio
// speaks for the kernel whatever the machine's load.
//
//   bench_recovery [REGION-BYTES [ROUNDS]]      (defaults 65536 and 5)
//
// Each round times memcpy and every kernel the processor runs for about a
// tenth of a second each, in turn. The best round of each is printed in MB/s
// (10^6 bytes of source per second), with the ratio kernel / memcpy: on a
// shared machine other work can only slow a round down. A last row adds one
// data band into 4 recovery bands, as a split with 4 recovery slices does,
// with the fastest kernel: MB/s of data.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "recovery_code.h"
#include "recovery_field.h"

namespace {

using Clock = std::chrono::steady_clock;
using sorv::gf16::Kernel;

volatile unsigned char sink;

// MB/s of `work` over `bytes`, repeated for at least 0.1 s.
double Rate(std::size_t bytes, const std::function<void()>& work) {
    const auto start = Clock::now();
    std::size_t calls = 0;
    double seconds = 0;
    do {
        for (int i = 0; i < 16; ++i, ++calls) work();
        seconds = std::chrono::duration<double>(Clock::now() - start).count();
    } while (seconds < 0.1);
    return static_cast<double>(bytes) * static_cast<double>(calls) / seconds / 1e6;
}

double Best(const std::vector<double>& rates) { return *std::max_element(rates.begin(), rates.end()); }

const char* NameOf(Kernel kernel) {
    switch (kernel) {
        case Kernel::Ssse3:
            return "ssse3";
        case Kernel::Avx2:
            return "avx2";
        default:
            return "portable";
    }
}

double EncodeRate(const std::vector<std::byte>& band) {
    constexpr std::uint32_t kRecovery = 4;
    const sorv::RecoveryEncoder encoder(sorv::RecoverySet(100, kRecovery));
    std::vector<std::vector<std::byte>> recovery(kRecovery, std::vector<std::byte>(band.size()));
    const std::vector<std::span<std::byte>> targets(recovery.begin(), recovery.end());
    return Rate(band.size(), [&] { encoder.Add(7, band, targets); });
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t size = argc > 1 ? std::strtoull(argv[1], nullptr, 10) / 64 * 64 : 65536;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    if (size == 0) {
        std::fprintf(stderr, "recovery_bench: the region must hold at least 64 bytes\n");
        return 2;
    }
    std::vector<std::byte> source(size), target(size);
    for (std::size_t i = 0; i < size; ++i) source[i] = static_cast<std::byte>(i * 2654435761u >> 13);

    std::vector<Kernel> kernels;
    for (const Kernel kernel : {Kernel::Portable, Kernel::Ssse3, Kernel::Avx2})
        if (sorv::gf16::KernelAvailable(kernel)) kernels.push_back(kernel);
    std::vector<double> copy, encode;
    std::vector<std::vector<double>> multiply(kernels.size()), multiplyAdd(kernels.size());
    for (int round = 0; round < rounds; ++round) {
        copy.push_back(Rate(size, [&] {
            std::memcpy(target.data(), source.data(), size);
            sink = std::to_integer<unsigned char>(target[size / 2]);
        }));
        for (std::size_t k = 0; k < kernels.size(); ++k) {
            sorv::gf16::SetKernelForTesting(kernels[k]);
            multiply[k].push_back(Rate(size, [&] { sorv::gf16::Multiply(0x8E21, source, target); }));
            multiplyAdd[k].push_back(Rate(size, [&] { sorv::gf16::MultiplyAdd(0x8E21, source, target); }));
        }
        encode.push_back(EncodeRate(source));
    }
    const double memcpyRate = Best(copy);
    std::printf("recovery_bench: regions of %zu bytes, %d rounds; memcpy %.0f MB/s\n", size, rounds, memcpyRate);
    for (std::size_t k = 0; k < kernels.size(); ++k) {
        const double m = Best(multiply[k]), a = Best(multiplyAdd[k]);
        std::printf("  %-8s  multiply %7.0f MB/s (%.3f x memcpy)   multiply-add %7.0f MB/s (%.3f x memcpy)\n",
                    NameOf(kernels[k]), m, m / memcpyRate, a, a / memcpyRate);
    }
    std::printf("  %s, one band into 4 recovery bands: %.0f MB/s of data (%.3f x memcpy)\n", NameOf(kernels.back()),
                Best(encode), Best(encode) / memcpyRate);
    return 0;
}
