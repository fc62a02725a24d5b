// A few threads that run queued tasks (PNG encoding) off the render thread.
// The queue is bounded, so a slow encoder slows the render loop down rather
// than letting frames pile up in memory. The first task that throws stops
// the pool: later tasks are dropped and Submit/Wait rethrow its error.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace fxhost {

class WorkerPool {
 public:
  WorkerPool(size_t threadCount, size_t queueCapacity);
  ~WorkerPool();  // runs what is queued (unless stopped by a failure), then joins
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  // Queues a task, blocking while the queue is full. Rethrows an earlier failure.
  void Submit(std::function<void()> task);
  // Blocks until every queued task has run. Rethrows the first failure.
  void Wait();

 private:
  void Work();
  void RethrowFailure();

  std::mutex mutex;
  std::condition_variable changed;
  std::deque<std::function<void()>> queue;
  size_t capacity;
  size_t running = 0;
  bool stopping = false;
  std::exception_ptr failure;
  std::vector<std::thread> threads;
};

// Encoder threads to use: the cores left beside the render thread, at least one.
size_t EncoderThreadCount();

}  // namespace fxhost
