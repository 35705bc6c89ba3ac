#include "Core/Render/Shaders/DX9/ShaderTexts.h"

namespace render {

const char gVertexShaderGeomText[] = R"(
float4x4 Proj;

struct VS_INPUT
{
    float3 position : POSITION;
    float4 color : COLOR0;
};

struct VS_OUTPUT
{
    float4 position : POSITION;
    float4 color : COLOR0;
};

VS_OUTPUT vertex_shader(VS_INPUT input)
{
    VS_OUTPUT output;
    output.position = mul(float4(input.position, 1.0f), Proj);
    output.color = input.color;
    return output;
}
)";

const char gPixelShaderGeomText[] = R"(
float4 pixel_shader(float4 color : COLOR0) : COLOR0
{
    return color;
}
)";

const char gVertexShaderTexturedMultText[] = R"(
float4x4 Proj;

struct VS_INPUT
{
    float4 position : POSITION;
    float4 color : COLOR0;
    float4 color2 : COLOR1;
    float2 uv : TEXCOORD0;
};

struct VS_OUTPUT
{
    float4 position : POSITION;
    float4 color : COLOR0;
    float2 uv : TEXCOORD0;
};

VS_OUTPUT vertex_shader(VS_INPUT input)
{
    VS_OUTPUT output;
    output.position = mul(input.position, Proj);
    output.color = input.color;
    output.uv = input.uv;
    return output;
}
)";

const char gPixelShaderTexturedMultText[] = R"(
sampler2D TextureSampler;

float4 pixel_shader(float4 color : COLOR0, float2 uv : TEXCOORD0) : COLOR0
{
    return color * tex2D(TextureSampler, uv);
}
)";

const char gVertexShaderTexturedTintText[] = R"(
float4x4 Proj;

struct VS_INPUT
{
    float4 position : POSITION;
    float4 color : COLOR0;
    float4 color2 : COLOR1;
    float2 uv : TEXCOORD0;
};

struct VS_OUTPUT
{
    float4 position : POSITION;
    float4 color : COLOR0;
    float2 uv : TEXCOORD0;
    float2 tint : TEXCOORD1;
};

VS_OUTPUT vertex_shader(VS_INPUT input)
{
    VS_OUTPUT output;
    output.position = mul(input.position, Proj);
    output.color = input.color;
    output.uv = input.uv;
    output.tint = input.color2.gb;
    return output;
}
)";

// tint.x = green = amount of the vertex colour, tint.y = blue = amount of the texel.
const char gPixelShaderTexturedTintText[] = R"(
sampler2D TextureSampler;

float4 pixel_shader(float4 color : COLOR0, float2 uv : TEXCOORD0, float2 tint : TEXCOORD1) : COLOR0
{
    float4 texel = tex2D(TextureSampler, uv);
    return float4(texel.rgb * tint.y + color.rgb * tint.x, texel.a * color.a);
}
)";

}  // namespace render
