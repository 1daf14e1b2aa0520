/** @file ConstantTableTest.cpp A stage's constant table: what it lists, sampler units, typed setters and refusals. */
#include <cstring>
#include <memory>
#include <numeric>
#include <thread>

#include "os/Values.h"
#include "os/gfx/ConstantTable.h"
#include "support/GfxFixture.h"

namespace gfxtest
{
namespace
{

using os::gfx::ConstantHandle;
using os::gfx::ConstantTable;
using os::gfx::kErrInvalidCall;
using os::gfx::kOk;
using os::gfx::ParameterClass;
using os::gfx::ParameterType;
using os::gfx::RegisterSet;
using ostest::V;

const char* const kPixelSource = R"(#version 420 core
uniform float Scalar = 2.0; uniform vec2 Pair; uniform vec4 Quad = vec4(1.0, 2.0, 3.0, 4.0); uniform ivec2 Counts;
uniform bool Flag; uniform mat4 Transform; uniform mat3 Small; uniform vec4 List[3];
struct Sun { vec3 dir; float power; }; uniform Sun Light;
uniform sampler2D First; uniform sampler2D Second; layout(binding = 5) uniform sampler2D Pinned;
layout(location = 0) out vec4 outColor;
void main()
{
    vec4 s = vec4(Scalar) + Pair.xyxy + Quad + vec4(Counts.xyxy) + (Flag ? vec4(1.0) : vec4(0.0));
    s += Transform * Quad + vec4(Small * Quad.xyz, 0.0) + List[0] + List[1] + List[2];
    outColor = s + vec4(Light.dir, Light.power) + texture(First, Pair) + texture(Second, Pair) + texture(Pinned, Pair);
}
)";

class ConstantTableTest : public GfxTest
{
protected:
    void SetUp() override
    {
        GfxTest::SetUp();
        ASSERT_EQ(kOk, device->CreatePixelShader(kPixelSource, std::strlen(kPixelSource), &pixel))
            << device->GetLastShaderLog();
        ASSERT_EQ(kOk, os::gfx::GetShaderConstantTable(pixel, &table));
    }

    ConstantHandle H(const char* name) const { return table->GetConstantByName(nullptr, name); }

    std::vector<float> Read(const char* name)
    {
        std::vector<float> values;
        EXPECT_EQ(kOk, table->ReadBack(device.get(), H(name), &values)) << name;
        return values;
    }

    std::shared_ptr<os::gfx::Shader> pixel;
    std::shared_ptr<ConstantTable> table;
};

TEST_F(ConstantTableTest, ListsConstantsAndSamplerUnitsAndItsSettersConvertStayWithinTheConstantAndRefuseStrangers)
{
    // Name, class, type, register set, rows, columns, elements, structure members and bytes.
    const std::tuple<const char*, ParameterClass, ParameterType, RegisterSet, int, int, int, int, int> cases[] = {
        {"Scalar", ParameterClass::Scalar, ParameterType::Float, RegisterSet::Float4, 1, 1, 1, 0, 4},
        {"Pair", ParameterClass::Vector, ParameterType::Float, RegisterSet::Float4, 1, 2, 1, 0, 8},
        {"Counts", ParameterClass::Vector, ParameterType::Int, RegisterSet::Int4, 1, 2, 1, 0, 8},
        {"Flag", ParameterClass::Scalar, ParameterType::Bool, RegisterSet::Bool, 1, 1, 1, 0, 4},
        {"Transform", ParameterClass::MatrixColumns, ParameterType::Float, RegisterSet::Float4, 4, 4, 1, 0, 64},
        {"Small", ParameterClass::MatrixColumns, ParameterType::Float, RegisterSet::Float4, 3, 3, 1, 0, 36},
        {"List", ParameterClass::Vector, ParameterType::Float, RegisterSet::Float4, 1, 4, 3, 0, 48},
        {"Light", ParameterClass::Struct, ParameterType::Void, RegisterSet::Float4, 1, 1, 1, 2, 16},
        {"First", ParameterClass::Object, ParameterType::Sampler2D, RegisterSet::Sampler, 1, 1, 1, 0, 4}};
    os::gfx::ConstantTableDesc tableDesc;
    ASSERT_EQ(kOk, table->GetDesc(&tableDesc));
    EXPECT_EQ(V(tableDesc.Constants, tableDesc.Version), V(12, 0xFFFF0300u));
    for (const auto& [name, cls, type, set, rows, columns, elements, members, bytes] : cases) {
        SCOPED_TRACE(name);
        os::gfx::ConstantDesc desc;
        std::uint32_t count = 1;
        ASSERT_EQ(kOk, table->GetConstantDesc(H(name), &desc, &count));
        EXPECT_EQ(name, desc.Name);
        EXPECT_EQ(V(count, desc.Class, desc.Type, desc.RegisterSet, desc.Rows, desc.Columns, desc.Elements,
                    desc.StructMembers, desc.Bytes),
                  V(1, cls, type, set, rows, columns, elements, members, bytes));
    }
    // Members of a structure are reached through it; list elements are not constants.
    EXPECT_NE(nullptr, table->GetConstantByName(H("Light"), "power"));
    EXPECT_FALSE(H("List[1]") || H("Light.dir") || table->GetConstant(nullptr, tableDesc.Constants));

    // The layer's own uniform of a vertex stage stays hidden.
    std::shared_ptr<ConstantTable> vertexTable;
    ASSERT_EQ(kOk, os::gfx::GetShaderConstantTable(shaders.vertexShader, &vertexTable));
    ASSERT_EQ(kOk, vertexTable->GetDesc(&tableDesc));
    EXPECT_EQ(V(tableDesc.Constants, tableDesc.Version), V(0, 0xFFFE0300u));

    // Samplers read units of their own and take no values: the unset samplers take the lowest free units; a bound one keeps its unit.
    const std::uint32_t first = table->GetSamplerIndex(H("First"));
    const std::uint32_t second = table->GetSamplerIndex(H("Second"));
    EXPECT_EQ(V(std::min(first, second), std::max(first, second), table->GetSamplerIndex(H("Pinned")),
                table->GetSamplerIndex(H("Quad")), table->GetSamplerIndex(nullptr)),
              V(0, 1, 5, 0xFFFFFFFFu, 0xFFFFFFFFu));
    const std::int32_t word = 3;
    EXPECT_EQ(V(table->SetFloat(device.get(), H("First"), 3.0f), table->SetInt(device.get(), H("First"), 3),
                table->SetValue(device.get(), H("First"), &word, 4)),
              V(kErrInvalidCall, kErrInvalidCall, kErrInvalidCall));
    EXPECT_EQ(std::vector<float>{static_cast<float>(first)}, Read("First"));

    // Asking again gives the same table.
    std::shared_ptr<ConstantTable> again;
    ASSERT_EQ(kOk, os::gfx::GetShaderConstantTable(pixel, &again));
    EXPECT_EQ(table, again);

    // Setters convert to the declared type and stay within the constant.
    os::gfx::Matrix m;
    std::iota(std::begin(m.m), std::end(m.m), 1.0f);
    const os::gfx::Vector4 vectors[2] = {{5, 6, 7, 8}, {9, 10, 11, 12}};
    const float counts[] = {1.9f, -2.5f};
    const float sun[] = {1, 2, 3, 4};
    auto exactlyFour = std::make_unique<float[]>(4); // a longer claimed count must not read past these
    std::iota(exactlyFour.get(), exactlyFour.get() + 4, 10.0f);
    os::gfx::Device* d = device.get();
    const auto expect = [&](const char* what, const char* name, os::gfx::Result result, std::vector<float> values) {
        ASSERT_EQ(kOk, result) << what;
        EXPECT_EQ(values, Read(name)) << what;
    };
    expect("a float sets x only", "Quad", table->SetFloat(d, H("Quad"), 9), {9, 2, 3, 4});
    expect("a vector fills a vec2 with x, y", "Pair", table->SetVector(d, H("Pair"), &vectors[0]), {5, 6});
    expect("a vector into a float", "Scalar", table->SetVector(d, H("Scalar"), &vectors[1]), {9});
    expect("floats into integers truncate", "Counts", table->SetFloatArray(d, H("Counts"), counts, 2), {1, -2});
    expect("any non-zero is true", "Flag", table->SetBool(d, H("Flag"), 7), {1});
    expect("vectors into an array", "List", table->SetVectorArray(d, H("List"), vectors, 2),
           {5, 6, 7, 8, 9, 10, 11, 12, 0, 0, 0, 0});
    expect("a claimed count beyond the constant", "Quad", table->SetFloatArray(d, H("Quad"), exactlyFour.get(), 1000),
           {10, 11, 12, 13});
    expect("raw words, fewer than the constant", "Quad", table->SetValue(d, H("Quad"), sun, 8), {1, 2, 12, 13});
    expect("a structure member after member", "Light", table->SetValue(d, H("Light"), sun, 16), {1, 2, 3, 4});
    // Rows of the engine's matrix become GLSL columns (GLSL's M * v is the engine's v x M).
    expect("a matrix as it is", "Transform", table->SetMatrix(d, H("Transform"), &m),
           {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
    expect("a matrix transposed", "Transform", table->SetMatrixTranspose(d, H("Transform"), &m),
           {1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15, 4, 8, 12, 16});
    expect("the upper-left part into a mat3", "Small", table->SetMatrix(d, H("Small"), &m),
           {1, 2, 3, 5, 6, 7, 9, 10, 11});

    // Defaults are the GLSL initialisers (uninitialised constants read zero).
    ASSERT_EQ(kOk, table->SetDefaults(d));
    EXPECT_EQ((std::vector<std::vector<float>>{Read("Quad"), Read("Scalar"), Read("Pair")}),
              (std::vector<std::vector<float>>{{1, 2, 3, 4}, {2}, {0, 0}}));

    // Null and foreign handles and other threads are refused.
    std::shared_ptr<os::gfx::Shader> other;
    ASSERT_EQ(kOk, device->CreatePixelShader(kPixelSource, std::strlen(kPixelSource), &other));
    std::shared_ptr<ConstantTable> otherTable;
    ASSERT_EQ(kOk, os::gfx::GetShaderConstantTable(other, &otherTable));
    const ConstantHandle foreign = otherTable->GetConstantByName(nullptr, "Quad");
    ASSERT_NE(nullptr, foreign);

    std::uint32_t count = 1;
    os::gfx::ConstantDesc desc;
    EXPECT_EQ(V(table->SetFloat(device.get(), foreign, 1), table->SetFloat(device.get(), nullptr, 1),
                table->SetFloat(nullptr, H("Quad"), 1), table->SetMatrix(device.get(), H("Light"), nullptr),
                table->GetConstantDesc(foreign, &desc, &count)),
              V(kErrInvalidCall, kErrInvalidCall, kErrInvalidCall, kErrInvalidCall, kErrInvalidCall));
    os::gfx::Result fromThread = kOk;
    std::thread([&] { fromThread = table->SetFloat(device.get(), H("Quad"), 1); }).join();
    EXPECT_EQ(kErrInvalidCall, fromThread);
    EXPECT_EQ((std::vector<float>{1, 2, 3, 4}), Read("Quad"));
}

} // namespace
} // namespace gfxtest
