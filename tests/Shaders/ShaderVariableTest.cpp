#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Core/Base/MemoryStream.h"
#include "Core/Render/ShaderImpl.h"
#include "Core/Render/ShaderTextured.h"

namespace {

using render::ShaderImpl;

// Setters that log what they are asked to apply.
struct Applied {
  std::vector<std::string> calls;
  VNResultEnum result = VN_OK;
};

class LoggingScalar : public render::ShaderScalarVariableImpl {
 public:
  LoggingScalar(std::string name, Applied* applied) : mName(std::move(name)), mApplied(applied) {}
  VNResultEnum SetMatrix(const math::Matrix4* matrix) override {
    return Log("matrix " + std::to_string(matrix != nullptr ? matrix->m[0] : -1.0f));
  }
  VNResultEnum SetVector4(const math::Point4& v) override {
    return Log("vector " + std::to_string(v.x) + " " + std::to_string(v.w));
  }
  VNResultEnum SetVector3(const math::Point3&) override { return Log("vector3"); }
  VNResultEnum SetVector2(const math::Point2&) override { return Log("vector2"); }
  VNResultEnum SetFloat(float) override { return Log("float"); }

 private:
  VNResultEnum Log(const std::string& what) {
    mApplied->calls.push_back(mName + " " + what);
    return mApplied->result;
  }
  std::string mName;
  Applied* mApplied;
};

class LoggingTexture : public render::ShaderTextureVariableImpl {
 public:
  explicit LoggingTexture(Applied* applied) : mApplied(applied) {}
  VNResultEnum SetTexture(render::Texture* texture) override {
    mApplied->calls.push_back("texture " + std::to_string(reinterpret_cast<std::uintptr_t>(texture)));
    return mApplied->result;
  }

 private:
  Applied* mApplied;
};

// A program whose constants are the names in `constants`; "TextureSampler" is its sampler.
class FakeProgram : public ShaderImpl {
 public:
  FakeProgram(std::vector<std::string> constants, Applied* applied)
      : ShaderImpl(nullptr), mConstants(std::move(constants)), mApplied(applied) {}

  render::ShaderScalarVariableImpl* CreateScalarVariableImpl(const char* name, int) override {
    for (const std::string& constant : mConstants) {
      if (constant == name) return new LoggingScalar(name, mApplied);
    }
    return nullptr;
  }
  render::ShaderTextureVariableImpl* CreateTextureVariableImpl(const char* name) override {
    return std::string(name) == "TextureSampler" ? new LoggingTexture(mApplied) : nullptr;
  }

 private:
  std::vector<std::string> mConstants;
  Applied* mApplied;
};

// The record bytes a program writes.
std::vector<unsigned char> Record(ShaderImpl* program) {
  base::MemoryStream stream;
  EXPECT_EQ(program->WriteChangedVariables(&stream), VN_OK);
  return std::vector<unsigned char>(stream.GetBuffer(), stream.GetBuffer() + stream.GetPosition());
}

template <class T>
void Append(std::vector<unsigned char>* bytes, const T& value) {
  const auto* p = reinterpret_cast<const unsigned char*>(&value);
  bytes->insert(bytes->end(), p, p + sizeof(value));
}

// The enemy shader's variables in its order: "color2" 0, "Proj" 1, "TextureSampler" 2.
class ShaderVariableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(program.CreateVector4Variable("color2", 1, &color), VN_OK);
    ASSERT_EQ(program.CreateMatrixVariable("Proj", 0, &proj), VN_OK);
    ASSERT_EQ(program.CreateTextureVariable("TextureSampler", &texture), VN_OK);
  }

  Applied applied;
  FakeProgram program{{"color2", "Proj"}, &applied};
  render::ShaderScalarVariable<math::Point4, 1>* color = nullptr;
  render::ShaderScalarPointer<math::Matrix4, 1>* proj = nullptr;
  render::ShaderTextureVariable<1>* texture = nullptr;
  math::Matrix4 matrix;
};

TEST_F(ShaderVariableTest, FirstRecordSendsEveryVariableInIndexOrder) {
  EXPECT_TRUE(program.IsChanged());
  color->SetValue(math::Point4(0.5f, 0.25f, 0.125f, 1.0f));
  proj->SetValue(&matrix);
  auto* tex = reinterpret_cast<render::Texture*>(std::uintptr_t{0x1234});
  texture->SetValue(tex);

  std::vector<unsigned char> expected = {3, 0};
  Append(&expected, math::Point4(0.5f, 0.25f, 0.125f, 1.0f));
  expected.push_back(1);
  Append(&expected, &matrix);
  expected.push_back(2);
  Append(&expected, tex);
  EXPECT_EQ(Record(&program), expected);
  EXPECT_FALSE(program.IsChanged());
  EXPECT_EQ(Record(&program), std::vector<unsigned char>{0});
}

TEST_F(ShaderVariableTest, OnlyChangedVariablesAreRecorded) {
  proj->SetValue(&matrix);
  Record(&program);

  auto* tex = reinterpret_cast<render::Texture*>(std::uintptr_t{0x40});
  texture->SetValue(tex);
  EXPECT_TRUE(program.IsChanged());
  std::vector<unsigned char> expected = {1, 2};
  Append(&expected, tex);
  EXPECT_EQ(Record(&program), expected);
}

TEST_F(ShaderVariableTest, UnbindAndDeviceResetResendEverything) {
  Record(&program);
  ASSERT_FALSE(program.IsChanged());
  EXPECT_EQ(program.OnBind(), VN_OK);
  EXPECT_EQ(program.OnDeviceLost(), VN_OK);
  EXPECT_FALSE(program.IsChanged());

  EXPECT_EQ(program.OnUnbind(), VN_OK);
  EXPECT_EQ(Record(&program).front(), 3);
  EXPECT_EQ(program.OnDeviceReset(), VN_OK);
  EXPECT_EQ(Record(&program).front(), 3);
}

TEST_F(ShaderVariableTest, ReadAppliesEachValueThroughItsSetter) {
  matrix.m[0] = 7.0f;
  color->SetValue(math::Point4(2.0f, 0.0f, 0.0f, 3.0f));
  proj->SetValue(&matrix);
  base::MemoryStream stream;
  ASSERT_EQ(program.WriteChangedVariables(&stream), VN_OK);
  stream.Seek(0, base::Stream::kBegin);
  EXPECT_EQ(program.ReadVariables(&stream), VN_OK);
  const std::vector<std::string> expected = {"color2 vector 2.000000 3.000000", "Proj matrix 7.000000",
                                             "texture 0"};
  EXPECT_EQ(applied.calls, expected);
}

TEST_F(ShaderVariableTest, ShortReadsUnknownIndicesAndSetterFailuresStopTheRecord) {
  base::MemoryStream full;
  ASSERT_EQ(program.WriteChangedVariables(&full), VN_OK);
  const unsigned size = full.GetPosition();
  // Cut inside the four floats of "color2" (count, index, 15 of 16 bytes) and at other places.
  for (unsigned cut : {0u, 1u, 2u, 17u, 18u, size - 1}) {
    SCOPED_TRACE(cut);
    base::MemoryStream shortStream(full.GetBuffer(), cut);
    EXPECT_EQ(program.ReadVariables(&shortStream), VN_FAIL);
  }

  const unsigned char unknown[] = {1, 3};
  base::MemoryStream unknownStream(unknown, sizeof(unknown));
  EXPECT_EQ(program.ReadVariables(&unknownStream), VN_FAIL);

  applied.result = VN_FAIL;
  applied.calls.clear();
  base::MemoryStream failing(full.GetBuffer(), size);
  EXPECT_EQ(program.ReadVariables(&failing), VN_FAIL);
  EXPECT_EQ(applied.calls.size(), 1u);  // the first failure ends the record
}

TEST_F(ShaderVariableTest, ShortWriteFails) {
  // A memory stream that cannot grow.
  class FullStream : public base::MemoryStream {
   public:
    void Resize(unsigned, bool) override {}
  } stream;
  EXPECT_EQ(program.WriteChangedVariables(&stream), VN_FAIL);
}

TEST(ShaderImplTest, MissingConstantCreatesNothing) {
  Applied applied;
  FakeProgram program({"Proj"}, &applied);
  render::ShaderScalarVariable<math::Point4, 1>* color = nullptr;
  render::ShaderTextureVariable<1>* texture = nullptr;
  EXPECT_EQ(program.CreateVector4Variable("color2", 1, &color), VN_FAIL);
  EXPECT_EQ(color, nullptr);
  EXPECT_EQ(program.CreateTextureVariable("Other", &texture), VN_FAIL);
  EXPECT_EQ(texture, nullptr);
}

TEST(ShaderImplTest, AProgramHoldsAtMost255Variables) {
  Applied applied;
  FakeProgram program({"c"}, &applied);
  render::ShaderScalarVariable<math::Point4, 1>* variable = nullptr;
  for (std::size_t i = 0; i < ShaderImpl::kMaxVariables; ++i) {
    ASSERT_EQ(program.CreateVector4Variable("c", 1, &variable), VN_OK);
  }
  render::ShaderScalarVariable<math::Point4, 1>* extra = nullptr;
  EXPECT_EQ(program.CreateVector4Variable("c", 1, &extra), VN_FAIL);
  EXPECT_EQ(extra, nullptr);
  EXPECT_EQ(Record(&program).size(), 1u + 255u * 17u);
}

// Setting a value through the shader records it only when the pointer differs.
TEST(ShaderTest, OnlyADifferentPointerIsRecorded) {
  Applied applied;
  render::ShaderTextured shader(new FakeProgram({"Proj"}, &applied), nullptr);
  EXPECT_TRUE(shader.IsLoaded());
  ASSERT_EQ(shader.InitVariables(), VN_OK);
  ShaderImpl* program = shader.GetProgram();
  math::Matrix4 projection;
  math::Matrix4 sameValues;
  auto* texture = reinterpret_cast<render::Texture*>(std::uintptr_t{0x80});
  ASSERT_EQ(shader.SetProjection(&projection), VN_OK);
  ASSERT_EQ(shader.SetTexture(texture), VN_OK);
  EXPECT_EQ(Record(program).front(), 2);

  ASSERT_EQ(shader.SetProjection(&projection), VN_OK);
  ASSERT_EQ(shader.SetTexture(texture), VN_OK);
  EXPECT_FALSE(program->IsChanged());
  EXPECT_EQ(Record(program), std::vector<unsigned char>{0});

  ASSERT_EQ(shader.SetProjection(&sameValues), VN_OK);
  std::vector<unsigned char> expected = {1, 0};
  Append(&expected, &sameValues);
  EXPECT_EQ(Record(program), expected);
}

}  // namespace
