#include "tools/fxhost/WorkerPool.h"

#include <algorithm>

namespace fxhost {

WorkerPool::WorkerPool(size_t threadCount, size_t queueCapacity) : capacity(std::max<size_t>(queueCapacity, 1)) {
  for (size_t i = 0; i < std::max<size_t>(threadCount, 1); ++i) threads.emplace_back([this] { Work(); });
}

WorkerPool::~WorkerPool() {
  {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [this] { return (queue.empty() && running == 0) || failure != nullptr; });
    stopping = true;
  }
  changed.notify_all();
  for (std::thread& thread : threads) thread.join();
}

void WorkerPool::Submit(std::function<void()> task) {
  std::unique_lock<std::mutex> lock(mutex);
  changed.wait(lock, [this] { return queue.size() < capacity || failure != nullptr; });
  if (failure) std::rethrow_exception(failure);
  queue.push_back(std::move(task));
  changed.notify_all();
}

void WorkerPool::Wait() {
  std::unique_lock<std::mutex> lock(mutex);
  changed.wait(lock, [this] { return (queue.empty() && running == 0) || failure != nullptr; });
  if (failure) std::rethrow_exception(failure);
}

void WorkerPool::Work() {
  std::unique_lock<std::mutex> lock(mutex);
  while (true) {
    changed.wait(lock, [this] { return stopping || !queue.empty(); });
    if (queue.empty()) return;  // stopping
    std::function<void()> task = std::move(queue.front());
    queue.pop_front();
    ++running;
    lock.unlock();
    std::exception_ptr thrown;
    try {
      task();
    } catch (...) {
      thrown = std::current_exception();
    }
    lock.lock();
    --running;
    if (thrown && !failure) {
      failure = thrown;
      queue.clear();
    }
    changed.notify_all();
  }
}

size_t EncoderThreadCount() {
  const unsigned cores = std::thread::hardware_concurrency();
  return cores > 1 ? cores - 1 : 1;
}

}  // namespace fxhost
