// What plugMain's dispatcher costs for the codes that make no GL call: each
// code through plugMain against a direct call of the same operation on the
// same object (the prototype's registry, or the instance's virtual
// operation), so the difference is the dispatcher alone: the switch, the
// record checks, the prototype look-up and, for codes 8 and 9, the live-handle
// check and the parameter-type query that decides float or text. Codes 8 and
// 9 also run with eight live instances, the named one found last.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "bench/support/BenchGL.h"
#include "bench/support/EffectUnderTest.h"
#include "framework/Plugin.h"
#include "host/Exports.h"
#include "host/FunctionCodes.h"
#include "host/Prototype.h"

namespace qvx::bench {
namespace {

constexpr uint32_t kQueriedParameter = 3;  // "Depth Sweep", a standard parameter

struct Fixture {
  std::vector<std::unique_ptr<EffectUnderTest>> instances;
  CFFGLPlugin* prototype = nullptr;

  void MakeLiveCount(size_t count) {
    while (instances.size() < count) instances.push_back(std::make_unique<EffectUnderTest>(64, 64));
  }
  // The one most recently made: the last one the live-handle check finds.
  void* NewestHandle() const { return instances.back()->Handle(); }
};
Fixture* fixture = nullptr;

uint64_t Address(const void* record) { return reinterpret_cast<uintptr_t>(record); }

// The object is laundered through DoNotOptimize on every call, so the direct
// calls cannot be hoisted or devirtualised out of the loop.
template <typename Object>
Object* Opaque(Object* object) {
  benchmark::DoNotOptimize(object);
  return object;
}

// --- Through plugMain -----------------------------------------------------

void ThroughPlugMain(benchmark::State& state, uint32_t code, uint64_t input, bool namesInstance) {
  fixture->MakeLiveCount(static_cast<size_t>(state.range(0)));
  void* handle = namesInstance ? fixture->NewestHandle() : nullptr;
  for (auto _ : state) benchmark::DoNotOptimize(plugMain(code, input, handle));
}

void SetParameterThroughPlugMain(benchmark::State& state) {
  fixture->MakeLiveCount(static_cast<size_t>(state.range(0)));
  void* handle = fixture->NewestHandle();
  ParameterAssignment assignment{};
  assignment.parameterIndex = kQueriedParameter;
  assignment.value.floatValue = 0.25f;
  for (auto _ : state) benchmark::DoNotOptimize(plugMain(kSetParameter, Address(&assignment), handle));
}

// --- Direct calls of the same operations ----------------------------------

void DirectParameterCount(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(Opaque(fixture->prototype)->GetParameterCount());
}
void DirectParameterName(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(Opaque(fixture->prototype)->GetParameterName(kQueriedParameter));
}
void DirectParameterDefault(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(Opaque(fixture->prototype)->GetParameterDefault(kQueriedParameter));
}
void DirectParameterType(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(Opaque(fixture->prototype)->GetParameterType(kQueriedParameter));
}
void DirectMinimumInputs(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(Opaque(fixture->prototype)->GetMinimumInputs());
}
void DirectGetParameterFloat(benchmark::State& state) {
  fixture->MakeLiveCount(1);
  auto* instance = static_cast<CFFGLPlugin*>(fixture->NewestHandle());
  for (auto _ : state) benchmark::DoNotOptimize(Opaque(instance)->GetParameterFloat(kQueriedParameter));
}
void DirectSetParameterFloat(benchmark::State& state) {
  fixture->MakeLiveCount(1);
  auto* instance = static_cast<CFFGLPlugin*>(fixture->NewestHandle());
  for (auto _ : state) benchmark::DoNotOptimize(Opaque(instance)->SetParameterFloat(kQueriedParameter, 0.25f));
}

void RegisterAll() {
  struct Query {
    const char* name;
    uint32_t code;
    uint64_t input;
    void (*direct)(benchmark::State&);
  };
  const Query queries[] = {
      {"4_parameter_count", kGetParameterCount, 0, DirectParameterCount},
      {"5_parameter_name", kGetParameterName, kQueriedParameter, DirectParameterName},
      {"6_parameter_default", kGetParameterDefault, kQueriedParameter, DirectParameterDefault},
      {"15_parameter_type", kGetParameterType, kQueriedParameter, DirectParameterType},
      {"10_capability_min_inputs", kGetCapability, kCapabilityMinimumInputs, DirectMinimumInputs},
  };
  for (const Query& query : queries) {
    benchmark::RegisterBenchmark((std::string("plugMain/") + query.name).c_str(), ThroughPlugMain, query.code,
                                 query.input, false)
        ->Arg(1);
    benchmark::RegisterBenchmark((std::string("direct/") + query.name).c_str(), query.direct);
  }
  benchmark::RegisterBenchmark("plugMain/9_get_parameter", ThroughPlugMain, static_cast<uint32_t>(kGetParameter),
                               uint64_t{kQueriedParameter}, true)
      ->ArgName("live")
      ->Arg(1)
      ->Arg(8);
  benchmark::RegisterBenchmark("direct/9_get_parameter", DirectGetParameterFloat);
  benchmark::RegisterBenchmark("plugMain/8_set_parameter", SetParameterThroughPlugMain)->ArgName("live")->Arg(1)->Arg(8);
  benchmark::RegisterBenchmark("direct/8_set_parameter", DirectSetParameterFloat);
}

}  // namespace
}  // namespace qvx::bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  qvx::bench::BenchGL gl;  // codes 8 and 9 need instances, and code 18 a context
  qvx::bench::DescribeMachine(gl);
  qvx::bench::Fixture fixture;
  qvx::bench::fixture = &fixture;
  plugMain(qvx::kInitialise, 0, nullptr);
  fixture.prototype = qvx::PrototypeOrNull();
  qvx::bench::RegisterAll();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  qvx::bench::fixture = nullptr;
  return 0;
}
