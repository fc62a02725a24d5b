#include "host/LiveInstances.h"

#include <algorithm>

namespace qvx {

void LiveInstances::Remove(CFFGLPlugin* instance) {
  instances.erase(std::remove(instances.begin(), instances.end(), instance), instances.end());
}

}  // namespace qvx
