#pragma once
// Per-round times of an operation and of its floor, timed in the same round.
// The totals give the mean figures; the round with the fastest operation gives
// the best figure, with the floor of that same round.

#include <benchmark/benchmark.h>

#include <limits>

struct RoundTimes {
    double operation = 0;
    double plain = 0;
    double bestOperation = std::numeric_limits<double>::infinity();
    double bestPlain = 0;

    void add(double operationSeconds, double plainSeconds) {
        operation += operationSeconds;
        plain += plainSeconds;
        if (operationSeconds < bestOperation) {
            bestOperation = operationSeconds;
            bestPlain = plainSeconds;
        }
    }
    void reportBest(benchmark::State& state) const {
        state.counters["best ms"] = bestOperation * 1e3;
        state.counters["best x plain r+w"] = bestOperation / bestPlain;
    }
};
