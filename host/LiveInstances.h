// The instances the dispatcher has handed to the host and not yet destroyed.
// A handle is used only when it is in this set, so a stale, double-destroyed
// or never-issued handle is answered with failure instead of being followed.
// A flat list: a host holds a handful of instances.
#pragma once

#include <cstddef>
#include <vector>

class CFFGLPlugin;

namespace qvx {

class LiveInstances {
 public:
  // The live instance the handle names, or null.
  CFFGLPlugin* Find(const void* handle) const {
    for (CFFGLPlugin* instance : instances)
      if (instance == handle) return instance;
    return nullptr;
  }
  // Makes room for one more, so that Add after a successful creation cannot fail.
  void Reserve() { instances.reserve(instances.size() + 1); }
  void Add(CFFGLPlugin* instance) { instances.push_back(instance); }
  void Remove(CFFGLPlugin* instance);
  std::size_t Count() const { return instances.size(); }

 private:
  std::vector<CFFGLPlugin*> instances;
};

}  // namespace qvx
