// Figures the benchmarks print: order statistics of timings and the process's memory.
#ifndef BENCH_FIGURES_H
#define BENCH_FIGURES_H

#include <cstddef>
#include <vector>

// The order statistics of one set of samples.
struct Summary {
    std::size_t count = 0;   // samples summarised
    double median = 0.0;     // nearest-rank 50th percentile
    double p99 = 0.0;        // nearest-rank 99th percentile
    double max = 0.0;        // largest sample
};

// The nearest-rank `percent` percentile of sorted, non-empty `sorted`.
double percentile(const std::vector<double>& sorted, double percent);

// Median, 99th percentile and maximum of `samples`; all zero when there are none.
Summary summarise(std::vector<double> samples);

// The largest resident set this process has had so far, in KiB.
long peak_rss_kib();

// The resident set of this process now, in KiB; 0 if it cannot be read.
long resident_kib();

#endif
