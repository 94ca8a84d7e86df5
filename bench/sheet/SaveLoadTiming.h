#pragma once
// One save and one load of a sheet through a temporary table file, timed apart: the counters
// save_s and load_s of the benchmarks that measure the file round trip.
#include <sheet/Sheet.h>
#include <sheet/SssFile.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <unistd.h>

inline void timeSaveLoad(benchmark::State& st, const sheet::Sheet& s, const char* name) {
    const std::string path = "/tmp/" + std::string(name) + "_" + std::to_string(::getpid()) + ".sss";
    for (auto _ : st) {
        auto t0 = std::chrono::steady_clock::now();
        if (!sheet::saveSheet(s, path)) st.SkipWithError("save failed");
        auto t1 = std::chrono::steady_clock::now();
        sheet::Sheet back;
        if (!sheet::loadSheet(back, path)) st.SkipWithError("load failed");
        auto t2 = std::chrono::steady_clock::now();
        st.counters["save_s"] = std::chrono::duration<double>(t1 - t0).count();
        st.counters["load_s"] = std::chrono::duration<double>(t2 - t1).count();
    }
    std::remove(path.c_str());
}
