// Enemy units: texel x vertex colour, tinted by the unit's fill colour "color2".
sampler2D TextureSampler;
float4 color2;

float4 pixel_shader(float4 color : COLOR0, float2 uv : TEXCOORD0) : COLOR0
{
    return color * tex2D(TextureSampler, uv) * color2;
}
