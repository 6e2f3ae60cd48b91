#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "analysis/analyze.h"
#include "model/circuit.h"

namespace kelno {

// Analyses circuits on a thread of its own, so that the thread that edits them never waits
// for a large one. It works on copies it owns, one at a time: a new circuit replaces one
// that has not begun and cancels one under way, since its result could only be refused.
//
// A result waits in the worker until the owner takes it; the worker tells the owner through
// `ready`, called on the worker's thread, so that the owner can wake its own thread.
class AnalysisWorker {
public:
    struct Result {
        std::uint64_t generation = 0;
        std::vector<double> currents;  // every element's, in the circuit's list order
        AnalysisReport report;
    };
    using Ready = std::function<void()>;

    explicit AnalysisWorker(Ready ready = {});
    // Cancels what runs and waits for the thread to end.
    ~AnalysisWorker();
    AnalysisWorker(const AnalysisWorker&) = delete;
    AnalysisWorker& operator=(const AnalysisWorker&) = delete;

    // Analyses `circuit` as the circuit of `generation`. A result of an earlier generation
    // that was not taken yet is dropped.
    void Start(std::uint64_t generation, Circuit circuit);
    // Drops what waits and cancels what runs: no result comes until the next Start.
    void Cancel();
    // The finished result, taken out of the worker; nothing when there is none.
    std::optional<Result> TakeResult();
    // Waits until the result of `generation` is there to take, at most `timeout`. False
    // when it is not there by then, or when that generation is no longer the newest.
    bool WaitFor(std::uint64_t generation, std::chrono::milliseconds timeout);
    // Whether an analysis is under way or waiting to begin.
    bool busy() const;

private:
    struct Job {
        std::uint64_t generation;
        Circuit circuit;
    };
    void Run();

    Ready ready_;
    mutable std::mutex mutex_;
    std::condition_variable jobArrived_;
    std::condition_variable resultArrived_;
    std::optional<Job> next_;
    std::optional<Result> result_;
    std::uint64_t newest_ = 0;  // the generation last started; 0 after Cancel
    bool running_ = false;
    bool stopping_ = false;
    CancelFlag cancel_{false};
    std::thread thread_;  // last: starts once everything it uses exists
};

}  // namespace kelno
