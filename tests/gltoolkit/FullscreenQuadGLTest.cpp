// The fullscreen quad, proved by pixels: a program writes the interpolated
// texture coordinate into a float target, and every pixel is compared with the
// coordinate its centre should get. GL calls are counted where a case is about
// calls made or not made.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <string>

#include "ffglex/FullscreenQuad.h"
#include "tests/gltoolkit/ToolkitTestSupport.h"
#include "tests/support/GLCallRecorder.h"

namespace qvx::test {
namespace {

constexpr int kSize = 8;
constexpr float kTolerance = 1e-5f;
constexpr float kUntouched = -1.0f;  // clear value no draw can produce

class FullscreenQuadTest : public GLToolkitTest {
 protected:
  void SetUp() override {
    GLToolkitTest::SetUp();
    if (HasFatalFailure()) return;
    program = LinkProgram(kPassThroughVertexShader, kTexCoordFragmentShader);
    ASSERT_NE(program, 0u);
    target = std::make_unique<FloatTarget>(kSize, kSize);
    target->Clear(kUntouched, kUntouched, kUntouched, kUntouched);
    glUseProgram(program);
  }
  void TearDown() override {
    target.reset();
    glUseProgram(0);
    glDeleteProgram(program);
    GLToolkitTest::TearDown();
  }

  bool NothingDrawn() const {
    for (float channel : target->Read())
      if (channel != kUntouched) return false;
    return true;
  }

  GLuint program = 0;
  std::unique_ptr<FloatTarget> target;
};

struct TableCase {
  const char* name;
  bool flipVertical;
};

void PrintTo(const TableCase& row, std::ostream* out) { *out << row.name; }

class FullscreenQuadTableTest : public FullscreenQuadTest, public ::testing::WithParamInterface<TableCase> {};

// Every pixel centre gets the coordinate that a quad mapping the viewport's
// corners to (0,0)..(1,1) gives it; v grows upwards, or downwards when flipped.
TEST_P(FullscreenQuadTableTest, CoversTheViewportWithTheTablesTextureCoordinates) {
  const bool flip = GetParam().flipVertical;
  ffglex::FullscreenQuad quad;
  ASSERT_TRUE(quad.Setup(flip));
  quad.Draw();
  quad.Release();

  const std::vector<float> pixels = target->Read();
  for (int row = 0; row < kSize; ++row) {  // row 0 is the bottom
    for (int column = 0; column < kSize; ++column) {
      const float* pixel = &pixels[(static_cast<size_t>(row) * kSize + column) * 4];
      const float u = (column + 0.5f) / kSize;
      const float upwardV = (row + 0.5f) / kSize;
      const float v = flip ? 1.0f - upwardV : upwardV;
      SCOPED_TRACE("column " + std::to_string(column) + ", row from bottom " + std::to_string(row));
      EXPECT_NEAR(pixel[0], u, kTolerance);
      EXPECT_NEAR(pixel[1], v, kTolerance);
      EXPECT_EQ(pixel[3], 1.0f) << "pixel not covered";
    }
  }
  // The top-left corner pixel, spelled out: (0, 1) upright, (0, 0) flipped.
  const float* topLeft = &pixels[(static_cast<size_t>(kSize - 1) * kSize) * 4];
  EXPECT_NEAR(topLeft[0], 0.5f / kSize, kTolerance);
  EXPECT_NEAR(topLeft[1], flip ? 0.5f / kSize : 1.0f - 0.5f / kSize, kTolerance);
}

INSTANTIATE_TEST_SUITE_P(BothTables, FullscreenQuadTableTest,
                         ::testing::Values(TableCase{"Upright", false}, TableCase{"Flipped", true}),
                         CaseName<TableCase>);

// Both triangles wind clockwise: culling back faces removes the whole quad,
// culling front faces removes nothing. The quad itself touches no cull state.
TEST_F(FullscreenQuadTest, BothTrianglesAreBackFacesUnderTheDefaultFrontFace) {
  ffglex::FullscreenQuad quad;
  ASSERT_TRUE(quad.Setup(false));
  glEnable(GL_CULL_FACE);

  glCullFace(GL_BACK);
  quad.Draw();
  EXPECT_TRUE(NothingDrawn());

  glCullFace(GL_FRONT);
  quad.Draw();
  for (float channel : target->Read()) ASSERT_NE(channel, kUntouched);

  EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
  EXPECT_EQ(GetInteger(GL_CULL_FACE_MODE), GL_FRONT);
  glDisable(GL_CULL_FACE);
  quad.Release();
}

TEST_F(FullscreenQuadTest, SetupLeavesNoVertexArrayAndNoArrayBufferBound) {
  GLuint hostVertexArray = 0, hostBuffer = 0;
  glGenVertexArrays(1, &hostVertexArray);
  glGenBuffers(1, &hostBuffer);
  glBindVertexArray(hostVertexArray);
  glBindBuffer(GL_ARRAY_BUFFER, hostBuffer);

  ffglex::FullscreenQuad quad;
  ASSERT_TRUE(quad.Setup(false));

  EXPECT_EQ(GetInteger(GL_VERTEX_ARRAY_BINDING), 0);
  EXPECT_EQ(GetInteger(GL_ARRAY_BUFFER_BINDING), 0);
  quad.Release();
}

TEST_F(FullscreenQuadTest, DrawUnbindsTheVertexArrayAndLeavesTheArrayBufferAsFound) {
  ffglex::FullscreenQuad quad;
  ASSERT_TRUE(quad.Setup(false));
  GLuint hostVertexArray = 0, hostBuffer = 0;
  glGenVertexArrays(1, &hostVertexArray);
  glGenBuffers(1, &hostBuffer);
  glBindVertexArray(hostVertexArray);
  glBindBuffer(GL_ARRAY_BUFFER, hostBuffer);

  quad.Draw();

  EXPECT_EQ(GetInteger(GL_VERTEX_ARRAY_BINDING), 0);
  EXPECT_EQ(GetInteger(GL_ARRAY_BUFFER_BINDING), static_cast<GLint>(hostBuffer));
  EXPECT_FALSE(NothingDrawn()) << "the quad drew nothing";
  quad.Release();
}

// A vertex array of the host's, bound when an empty quad's Draw is called: had
// the quad drawn anything, this triangle would fill the target.
GLuint MakeHostTriangle() {
  const float vertices[] = {0.0f, 0.0f, -1.0f, -1.0f, 0.0f, 0.0f, 0.0f, 3.0f, -1.0f, 0.0f, 0.0f, 0.0f, -1.0f, 3.0f, 0.0f};
  GLuint vertexArray = 0, buffer = 0;
  glGenVertexArrays(1, &vertexArray);
  glGenBuffers(1, &buffer);
  glBindVertexArray(vertexArray);
  glBindBuffer(GL_ARRAY_BUFFER, buffer);
  glBufferData(GL_ARRAY_BUFFER, sizeof(vertices), vertices, GL_STATIC_DRAW);
  glEnableVertexAttribArray(0);
  glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 20, reinterpret_cast<const void*>(8));
  glEnableVertexAttribArray(1);
  glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 20, nullptr);
  return vertexArray;
}

TEST_F(FullscreenQuadTest, DrawBeforeSetupOrAfterReleaseMakesNoCallAndDrawsNothing) {
  const GLuint hostTriangle = MakeHostTriangle();
  ffglex::FullscreenQuad neverSetUp;
  ffglex::FullscreenQuad released;
  ASSERT_TRUE(released.Setup(false));
  released.Release();
  glBindVertexArray(hostTriangle);

  GLCallRecorder recorder;
  neverSetUp.Draw();
  released.Draw();

  EXPECT_EQ(recorder.Count("glBindVertexArray"), 0u);
  EXPECT_EQ(recorder.Total(), 0u);
  EXPECT_TRUE(NothingDrawn());
  EXPECT_EQ(GetInteger(GL_VERTEX_ARRAY_BINDING), static_cast<GLint>(hostTriangle));

  glDrawArrays(GL_TRIANGLES, 0, 3);  // the check above could have seen a draw
  EXPECT_FALSE(NothingDrawn());
}

// The names the quad made are seen as the arguments of its own bind calls.
TEST_F(FullscreenQuadTest, ReleaseDeletesBothObjectsAndASecondReleaseMakesBothCallsAgain) {
  ffglex::FullscreenQuad quad;
  GLCallRecorder recorder;
  ASSERT_TRUE(quad.Setup(false));
  ASSERT_GE(recorder.Count("glBindVertexArray"), 1u);
  ASSERT_GE(recorder.Count("glBindBuffer"), 1u);
  GLuint vertexArray = 0, buffer = 0;
  for (const GLCall& call : recorder.Calls()) {
    if (call.name == "glBindVertexArray" && vertexArray == 0) vertexArray = std::stoul(call.arguments[0]);
    if (call.name == "glBindBuffer" && buffer == 0) buffer = std::stoul(call.arguments[1]);
  }
  ASSERT_TRUE(glIsVertexArray(vertexArray));
  ASSERT_TRUE(glIsBuffer(buffer));

  recorder.Clear();
  quad.Release();
  EXPECT_FALSE(glIsVertexArray(vertexArray));
  EXPECT_FALSE(glIsBuffer(buffer));
  EXPECT_EQ(recorder.Names(), (std::vector<std::string>{"glDeleteBuffers", "glDeleteVertexArrays"}));

  recorder.Clear();
  quad.Release();  // names are 0 now; the GL ignores them
  EXPECT_EQ(recorder.Names(), (std::vector<std::string>{"glDeleteBuffers", "glDeleteVertexArrays"}));

  recorder.Clear();
  quad.Draw();
  EXPECT_EQ(recorder.Total(), 0u) << "a released quad still drew";
}

// Stand-ins for a GL that hands back name 0 for one of the two objects.
void GLAPIENTRY GenNoVertexArrays(GLsizei count, GLuint* names) {
  for (GLsizei i = 0; i < count; ++i) names[i] = 0;
}
void GLAPIENTRY GenNoBuffers(GLsizei count, GLuint* names) {
  for (GLsizei i = 0; i < count; ++i) names[i] = 0;
}

struct NameZeroCase {
  const char* name;
  void (*install)(GLCallRecorder&);
};

void PrintTo(const NameZeroCase& row, std::ostream* out) { *out << row.name; }

class FullscreenQuadNameZeroTest : public FullscreenQuadTest, public ::testing::WithParamInterface<NameZeroCase> {};

TEST_P(FullscreenQuadNameZeroTest, SetupFailsDeletesBothAndLeavesAnEmptyQuad) {
  ffglex::FullscreenQuad quad;
  GLCallRecorder recorder;
  GetParam().install(recorder);

  EXPECT_FALSE(quad.Setup(false));
  EXPECT_EQ(recorder.Count("glDeleteBuffers"), 1u);
  EXPECT_EQ(recorder.Count("glDeleteVertexArrays"), 1u);
  EXPECT_EQ(recorder.Count("glBufferData"), 0u);
  EXPECT_EQ(GetInteger(GL_VERTEX_ARRAY_BINDING), 0);

  recorder.Clear();
  quad.Draw();
  EXPECT_EQ(recorder.Total(), 0u);
  EXPECT_TRUE(NothingDrawn());
}

INSTANTIATE_TEST_SUITE_P(
    EitherObject, FullscreenQuadNameZeroTest,
    ::testing::Values(NameZeroCase{"NoVertexArray",
                                   [](GLCallRecorder& r) { r.Substitute<&__glewGenVertexArrays>(GenNoVertexArrays); }},
                      NameZeroCase{"NoBuffer",
                                   [](GLCallRecorder& r) { r.Substitute<&__glewGenBuffers>(GenNoBuffers); }}),
    CaseName<NameZeroCase>);

}  // namespace
}  // namespace qvx::test
