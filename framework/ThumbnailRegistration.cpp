// The module's one thumbnail, drawn during static initialisation, before the
// host can make a request, and registered for code 42.
#include "framework/ThumbnailPicture.h"
#include "host/ThumbnailImage.h"

namespace {
ThumbnailImage moduleThumbnail(qvx::kThumbnailWidth, qvx::kThumbnailHeight, qvx::BuildThumbnailPixels());
}  // namespace
