// Group "lifecycle": module set-up and tear-down and instances' lives,
// repeated more often the stricter the run; several instances at once.
#include <algorithm>
#include <vector>

#include "host/FunctionCodes.h"
#include "tools/fxhost/ValidateGLState.h"
#include "tools/fxhost/ValidateGroups.h"
#include "tools/fxhost/ValidateHost.h"

namespace fxhost {
namespace {

// Names above this are not looked at by the GL object census; the module's
// objects of a few hundred cycles stay far below it.
constexpr GLuint kCensusNames = 4096;

void InitialiseAndDeinitialise(ValidateHost& host) {
  const int rounds = Repetitions(host, 4);
  Check check(host.Report(), "initialise and deinitialise (codes 34, 2) " + std::to_string(rounds) + " times");
  for (int round = 0; round < rounds; ++round) {
    const std::string when = " in round " + std::to_string(round + 1);
    const uint64_t deinitialised = host.Call(check, "code 2" + when, qvx::kDeinitialise);
    check.Expect(deinitialised == 0, "code 2" + when + " answered " + Hex(deinitialised));
    const uint64_t initialised = host.Call(check, "code 34" + when, qvx::kInitialise);
    check.Expect(initialised == 0, "code 34" + when + " answered " + Hex(initialised));
    const uint64_t count = host.Call(check, "code 4" + when, qvx::kGetParameterCount);
    check.Expect(count == host.ParameterCount(), "code 4" + when + " answered " + Hex(count));
  }
}

void CreateRenderDestroy(ValidateHost& host) {
  const int cycles = Repetitions(host, 10);
  Check check(host.Report(), "create, render and destroy (codes 18, 17, 19) " + std::to_string(cycles) + " times");
  for (int cycle = 0; cycle < cycles; ++cycle) {
    const std::string when = " in cycle " + std::to_string(cycle + 1);
    void* instance = host.Create(check, "code 18" + when);
    if (instance == nullptr) return;  // a module that cannot create fails here once, not every cycle
    host.Render(check, "code 17" + when, instance, cycle % 2);
    host.Render(check, "a second code 17" + when, instance, cycle % 2);
    host.Destroy(check, "code 19" + when, instance);
  }
}

void FrameDraws(ValidateHost& host) {
  Check check(host.Report(), "a frame draws into the framebuffer the host names");
  void* instance = host.Create(check, "code 18");
  if (instance == nullptr) return;
  host.FillFramebuffer(1);
  const std::vector<uint8_t> before = host.ReadFramebuffer(1);
  host.Render(check, "code 17", instance, 1);
  check.Expect(host.ReadFramebuffer(1) != before, "the host's framebuffer is unchanged after a successful frame");
  host.Destroy(check, "code 19", instance);
}

void ConnectAndDisconnect(ValidateHost& host) {
  Check check(host.Report(), "connect and disconnect (codes 21, 22) between frames");
  void* instance = host.Create(check, "code 18");
  if (instance == nullptr) return;
  for (int round = 0; round < 2; ++round) {
    const uint64_t connected = host.Call(check, "code 21", qvx::kConnect, 0, instance);
    check.Expect(connected == 0, "code 21 answered " + Hex(connected));
    host.Render(check, "code 17 when connected", instance);
    const uint64_t disconnected = host.Call(check, "code 22", qvx::kDisconnect, 0, instance);
    check.Expect(disconnected == 0, "code 22 answered " + Hex(disconnected));
    host.Render(check, "code 17 after disconnecting", instance);
  }
  host.Destroy(check, "code 19 of a connected instance", instance);
}

enum class Order { kFirstToLast, kLastToFirst, kMiddleOut };

std::vector<size_t> DestructionOrder(size_t count, Order order) {
  std::vector<size_t> indices(count);
  for (size_t index = 0; index < count; ++index) indices[index] = index;
  if (order == Order::kLastToFirst) std::reverse(indices.begin(), indices.end());
  if (order == Order::kMiddleOut) {
    std::vector<size_t> middleOut;
    for (size_t step = 0; step < count; ++step) {
      const size_t middle = count / 2;
      middleOut.push_back(step % 2 == 0 ? middle + step / 2 : middle - 1 - step / 2);
    }
    indices = middleOut;
  }
  return indices;
}

void SeveralAtOnce(ValidateHost& host, Order order, const char* orderName) {
  const int count = 2 + host.Settings().strictness / 2;
  const int rounds = Repetitions(host, 2);
  Check check(host.Report(), std::to_string(count) + " instances at once, rendered interleaved " +
                                 std::to_string(rounds) + " times, destroyed " + orderName);
  std::vector<void*> instances;
  for (int made = 0; made < count; ++made) {
    void* instance = host.Create(check, "code 18 for instance " + std::to_string(made + 1));
    if (instance == nullptr) break;
    check.Expect(std::find(instances.begin(), instances.end(), instance) == instances.end(),
                 "code 18 answered a handle that is still alive");
    instances.push_back(instance);
  }
  for (int round = 0; round < rounds; ++round)
    for (size_t index = 0; index < instances.size(); ++index) {
      // A different instance first each round, and the two framebuffers in turn.
      const size_t which = (index + static_cast<size_t>(round)) % instances.size();
      host.Render(check, "code 17 for instance " + std::to_string(which + 1), instances[which],
                  static_cast<int>((index + static_cast<size_t>(round)) % 2));
    }
  for (size_t which : DestructionOrder(instances.size(), order)) {
    host.Destroy(check, "code 19 for instance " + std::to_string(which + 1), instances[which]);
    // The others still render after one is gone.
    for (size_t other = 0; other < instances.size(); ++other)
      if (instances[other] != nullptr && other != which) {
        host.Render(check, "code 17 for instance " + std::to_string(other + 1) + " after one was destroyed",
                    instances[other]);
        break;
      }
    instances[which] = nullptr;
  }
}

}  // namespace

void RunLifecycleGroup(ValidateHost& host) {
  InitialiseAndDeinitialise(host);
  const GLObjectCensus before = GLObjectCensus::Take(kCensusNames);
  CreateRenderDestroy(host);
  FrameDraws(host);
  ConnectAndDisconnect(host);
  SeveralAtOnce(host, Order::kFirstToLast, "first to last");
  SeveralAtOnce(host, Order::kLastToFirst, "last to first");
  SeveralAtOnce(host, Order::kMiddleOut, "from the middle out");
  Check check(host.Report(), "every instance destroyed leaves no GL object behind");
  const std::string more = GLObjectCensus::Take(kCensusNames).MoreThan(before);
  check.Expect(more.empty(), more);
}

}  // namespace fxhost
