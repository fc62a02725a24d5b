// The descriptor's fixed fields and the thumbnail's pixel count.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/PluginDescriptor.h"
#include "host/ThumbnailImage.h"

namespace {

uint32_t NoFactory(CFFGLPlugin** instance) {
  *instance = nullptr;
  return 0xFFFFFFFFu;
}

PluginIdentity IdentityFor(const char* id, const char* name) {
  CFFGLPluginDescriptor descriptor(NoFactory, id, name, 2, 1, 1, 0, 0, "d", "a", 0, nullptr, nullptr, nullptr);
  return *descriptor.GetIdentity();
}

TEST(Descriptor, NameAndIdentifierFieldsAreCopiedUpToTheirWidth) {
  const struct {
    const char* id;
    const char* name;
    std::string idBytes;
    std::string nameBytes;
  } cases[] = {
      {"ABCD", "Exactly16Chars!!", "ABCD", "Exactly16Chars!!"},
      {"AB", "Short", std::string("AB\0\0", 4), std::string("Short\0\0\0\0\0\0\0\0\0\0\0", 16)},
      {"ABCDEF", "Seventeen chars!!", "ABCD", "Seventeen chars!"},
  };
  for (const auto& c : cases) {
    const PluginIdentity identity = IdentityFor(c.id, c.name);
    EXPECT_EQ(std::string(identity.uniqueIdentifier, 4), c.idBytes);
    EXPECT_EQ(std::string(identity.name, 16), c.nameBytes);
  }
}

TEST(Descriptor, TextsAreOwnedAndAnEmptyBlockIsNull) {
  std::string description = "changing";
  CFFGLPluginDescriptor descriptor(NoFactory, "ABCD", "n", 2, 1, 7, 8, 0, description.c_str(), "about", 5,
                                   nullptr, nullptr, nullptr);
  description[0] = 'X';
  EXPECT_STREQ(descriptor.GetDetails()->description, "changing");
  EXPECT_EQ(descriptor.GetDetails()->extendedDataSize, 0u) << "a size without a block counts as none";
  EXPECT_EQ(descriptor.GetDetails()->extendedData, nullptr);
  EXPECT_EQ(qvx::GetRegisteredDescriptor(), &descriptor);
}

TEST(Thumbnail, PixelListIsTrimmedOrPaddedToWidthTimesHeight) {
  std::vector<uint32_t> ten = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  ThumbnailImage trimmed(4, 2, std::move(ten));
  EXPECT_TRUE(ten.empty()) << "the list is taken over";
  EXPECT_EQ(std::vector<uint32_t>(trimmed.GetPixelData(), trimmed.GetPixelData() + 8),
            (std::vector<uint32_t>{1, 2, 3, 4, 5, 6, 7, 8}));

  ThumbnailImage padded(4, 2, std::vector<uint32_t>{1, 2, 3, 4, 5});
  EXPECT_EQ(std::vector<uint32_t>(padded.GetPixelData(), padded.GetPixelData() + 8),
            (std::vector<uint32_t>{1, 2, 3, 4, 5, 0, 0, 0}));
  EXPECT_EQ(GetThumbnail(), &padded) << "the last image constructed is the registered one";
}

}  // namespace
