#include "analysis/analysis_worker.h"

#include <utility>

namespace kelno {

AnalysisWorker::AnalysisWorker(Ready ready)
    : ready_(std::move(ready)), thread_([this] { Run(); }) {}

AnalysisWorker::~AnalysisWorker() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        cancel_.store(true, std::memory_order_relaxed);
    }
    jobArrived_.notify_all();
    thread_.join();
}

void AnalysisWorker::Start(std::uint64_t generation, Circuit circuit) {
    {
        const std::lock_guard lock(mutex_);
        next_.emplace(Job{generation, std::move(circuit)});
        newest_ = generation;
        result_.reset();
        if (running_) {
            cancel_.store(true, std::memory_order_relaxed);
        }
    }
    jobArrived_.notify_one();
}

void AnalysisWorker::Cancel() {
    const std::lock_guard lock(mutex_);
    next_.reset();
    result_.reset();
    newest_ = 0;
    if (running_) {
        cancel_.store(true, std::memory_order_relaxed);
    }
}

std::optional<AnalysisWorker::Result> AnalysisWorker::TakeResult() {
    const std::lock_guard lock(mutex_);
    std::optional<Result> taken = std::move(result_);
    result_.reset();
    return taken;
}

bool AnalysisWorker::WaitFor(std::uint64_t generation, std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    const auto there = [&] {
        return newest_ != generation || (result_ && result_->generation == generation) ||
               (!running_ && !next_);
    };
    resultArrived_.wait_for(lock, timeout, there);
    return result_ && result_->generation == generation;
}

bool AnalysisWorker::busy() const {
    const std::lock_guard lock(mutex_);
    return running_ || next_.has_value();
}

void AnalysisWorker::Run() {
    std::unique_lock lock(mutex_);
    while (true) {
        jobArrived_.wait(lock, [this] { return stopping_ || next_.has_value(); });
        if (stopping_) {
            return;
        }
        Job job = std::move(*next_);
        next_.reset();
        cancel_.store(false, std::memory_order_relaxed);
        running_ = true;
        lock.unlock();

        Result result{job.generation, {}, {}};
        Analyze(job.circuit, &result.report, &cancel_);
        result.currents.reserve(job.circuit.ElementCount());
        for (const CircuitElement& element : job.circuit.elements()) {
            result.currents.push_back(element.current);
        }
        job = Job{0, Circuit()};  // the copy goes here, not under the lock

        lock.lock();
        running_ = false;
        const bool current = result.report.outcome != AnalysisOutcome::Cancelled &&
                             !next_.has_value() && result.generation == newest_;
        if (current) {
            result_ = std::move(result);
        }
        resultArrived_.notify_all();
        if (current && ready_) {
            lock.unlock();
            ready_();
            lock.lock();
        }
    }
}

}  // namespace kelno
