// The binding scopes, proved by GL state queries: on exit each target holds
// the default, never what was bound before or what an outer scope bound.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "ffglex/ScopedBindings.h"
#include "tests/gltoolkit/ToolkitTestSupport.h"

namespace qvx::test {
namespace {

using Body = std::function<void()>;

// One kind of scope: how to make an object it can bind, how to bind that
// object without the toolkit, how to hold the scope around a body, and the
// query that shows the target's binding.
struct ScopeCase {
  const char* name;
  GLenum query;
  GLuint (*makeObject)();
  void (*bindDirectly)(GLuint);
  void (*runInScope)(GLuint, const Body&);
};

GLuint MakeTexture() {
  GLuint name = 0;
  glGenTextures(1, &name);
  return name;
}
GLuint MakeBuffer() {
  GLuint name = 0;
  glGenBuffers(1, &name);
  return name;
}
GLuint MakeVertexArray() {
  GLuint name = 0;
  glGenVertexArrays(1, &name);
  return name;
}
GLuint MakeProgram() { return LinkProgram(kPassThroughVertexShader, kTexCoordFragmentShader); }

const ScopeCase kScopeCases[] = {
    {"Scoped2DTextureBinding", GL_TEXTURE_BINDING_2D, MakeTexture,
     [](GLuint name) { glBindTexture(GL_TEXTURE_2D, name); },
     [](GLuint name, const Body& body) {
       ffglex::Scoped2DTextureBinding scope(name);
       body();
     }},
    {"ScopedTextureBinding_2DArray", GL_TEXTURE_BINDING_2D_ARRAY, MakeTexture,
     [](GLuint name) { glBindTexture(GL_TEXTURE_2D_ARRAY, name); },
     [](GLuint name, const Body& body) {
       ffglex::ScopedTextureBinding scope(GL_TEXTURE_2D_ARRAY, name);
       body();
     }},
    {"ScopedVBOBinding", GL_ARRAY_BUFFER_BINDING, MakeBuffer,
     [](GLuint name) { glBindBuffer(GL_ARRAY_BUFFER, name); },
     [](GLuint name, const Body& body) {
       ffglex::ScopedVBOBinding scope(name);
       body();
     }},
    {"ScopedBufferBinding_Uniform", GL_UNIFORM_BUFFER_BINDING, MakeBuffer,
     [](GLuint name) { glBindBuffer(GL_UNIFORM_BUFFER, name); },
     [](GLuint name, const Body& body) {
       ffglex::ScopedBufferBinding scope(GL_UNIFORM_BUFFER, name);
       body();
     }},
    {"ScopedProgramBinding", GL_CURRENT_PROGRAM, MakeProgram, [](GLuint name) { glUseProgram(name); },
     [](GLuint name, const Body& body) {
       ffglex::ScopedProgramBinding scope(name);
       body();
     }},
    {"ScopedVertexArrayBinding", GL_VERTEX_ARRAY_BINDING, MakeVertexArray,
     [](GLuint name) { glBindVertexArray(name); },
     [](GLuint name, const Body& body) {
       ffglex::ScopedVertexArrayBinding scope(name);
       body();
     }},
};

void PrintTo(const ScopeCase& row, std::ostream* out) { *out << row.name; }

class ScopedBindingTest : public GLToolkitTest, public ::testing::WithParamInterface<ScopeCase> {
 protected:
  GLint Binding() const { return GetInteger(GetParam().query); }
};

TEST_P(ScopedBindingTest, BindsOnEntryAndLeavesTheDefaultNotThePreviousBinding) {
  const ScopeCase& scope = GetParam();
  const GLuint hostObject = scope.makeObject();
  const GLuint ownObject = scope.makeObject();
  ASSERT_NE(hostObject, 0u);
  ASSERT_NE(ownObject, 0u);
  scope.bindDirectly(hostObject);

  scope.runInScope(ownObject, [&] { EXPECT_EQ(Binding(), static_cast<GLint>(ownObject)); });

  EXPECT_EQ(Binding(), 0);
}

TEST_P(ScopedBindingTest, NestedScopesDoNotRestoreEachOther) {
  const ScopeCase& scope = GetParam();
  const GLuint outerObject = scope.makeObject();
  const GLuint innerObject = scope.makeObject();
  const GLuint strayObject = scope.makeObject();

  scope.runInScope(outerObject, [&] {
    scope.runInScope(innerObject, [&] { EXPECT_EQ(Binding(), static_cast<GLint>(innerObject)); });
    EXPECT_EQ(Binding(), 0) << "the inner scope brought the outer binding back";
    // Bound behind the outer scope's back: its exit must still bind 0.
    scope.bindDirectly(strayObject);
  });

  EXPECT_EQ(Binding(), 0);
}

TEST_P(ScopedBindingTest, NameZeroStillMakesTheExitCall) {
  const ScopeCase& scope = GetParam();
  const GLuint strayObject = scope.makeObject();
  scope.bindDirectly(strayObject);

  scope.runInScope(0, [&] {
    EXPECT_EQ(Binding(), 0);
    scope.bindDirectly(strayObject);
  });

  EXPECT_EQ(Binding(), 0);
}

TEST_P(ScopedBindingTest, AnExceptionLeavingTheBlockStillUnbinds) {
  const ScopeCase& scope = GetParam();
  const GLuint ownObject = scope.makeObject();

  EXPECT_THROW(scope.runInScope(ownObject, [] { throw std::runtime_error("leaving the block"); }),
               std::runtime_error);

  EXPECT_EQ(Binding(), 0);
}

INSTANTIATE_TEST_SUITE_P(EveryBindingScope, ScopedBindingTest, ::testing::ValuesIn(kScopeCases),
                         CaseName<ScopeCase>);

using ScopedActiveTextureUnitTest = GLToolkitTest;

TEST_F(ScopedActiveTextureUnitTest, SelectsTheUnitAndReturnsToUnitZeroWhateverWasActive) {
  glActiveTexture(GL_TEXTURE5);
  {
    ffglex::ScopedActiveTextureUnit unit(3);
    EXPECT_EQ(GetInteger(GL_ACTIVE_TEXTURE), GL_TEXTURE0 + 3);
  }
  EXPECT_EQ(GetInteger(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
}

TEST_F(ScopedActiveTextureUnitTest, NestedUnitScopesEndOnUnitZero) {
  {
    ffglex::ScopedActiveTextureUnit outer(2);
    {
      ffglex::ScopedActiveTextureUnit inner(4);
      EXPECT_EQ(GetInteger(GL_ACTIVE_TEXTURE), GL_TEXTURE0 + 4);
    }
    EXPECT_EQ(GetInteger(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    glActiveTexture(GL_TEXTURE6);
  }
  EXPECT_EQ(GetInteger(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
}

TEST_F(ScopedActiveTextureUnitTest, UnitZeroScopeStillSelectsUnitZeroOnExit) {
  {
    ffglex::ScopedActiveTextureUnit unit(0);
    EXPECT_EQ(GetInteger(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    glActiveTexture(GL_TEXTURE7);
  }
  EXPECT_EQ(GetInteger(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
}

// The frame's group: program, unit, texture; the texture is unbound on the
// unit the unit scope selected, before unit 0 is selected again.
TEST_F(ScopedActiveTextureUnitTest, FrameGroupUnbindsTheTextureOnItsOwnUnitOnly) {
  const GLuint program = LinkProgram(kPassThroughVertexShader, kTexCoordFragmentShader);
  GLuint textures[2] = {};
  glGenTextures(2, textures);
  const GLuint hostTexture = textures[0];
  const GLuint inputTexture = textures[1];
  glBindTexture(GL_TEXTURE_2D, hostTexture);  // on unit 0

  {
    ffglex::ScopedProgramBinding programScope(program);
    ffglex::ScopedActiveTextureUnit unitScope(3);
    ffglex::Scoped2DTextureBinding textureScope(inputTexture);
    EXPECT_EQ(GetInteger(GL_CURRENT_PROGRAM), static_cast<GLint>(program));
    EXPECT_EQ(TextureBindingOnUnit(3), static_cast<GLint>(inputTexture));
  }

  EXPECT_EQ(TextureBindingOnUnit(3), 0);
  EXPECT_EQ(TextureBindingOnUnit(0), static_cast<GLint>(hostTexture)) << "unbound on the wrong unit";
  EXPECT_EQ(GetInteger(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
  EXPECT_EQ(GetInteger(GL_CURRENT_PROGRAM), 0);
}

TEST_F(ScopedActiveTextureUnitTest, TextureScopeUnbindsOnTheUnitActiveAtItsExit) {
  GLuint texture = 0;
  glGenTextures(1, &texture);
  {
    ffglex::Scoped2DTextureBinding textureScope(texture);  // on unit 0
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, texture);
  }
  EXPECT_EQ(TextureBindingOnUnit(1), 0);
  EXPECT_EQ(TextureBindingOnUnit(0), static_cast<GLint>(texture));
  glActiveTexture(GL_TEXTURE0);
}

}  // namespace
}  // namespace qvx::test
