// Enemy units: the textured-multiply vertex program.
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
