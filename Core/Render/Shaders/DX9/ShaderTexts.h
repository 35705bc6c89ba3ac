#pragma once
// HLSL texts of the renderer's built-in programs (entry points "vertex_shader" and "pixel_shader",
// profiles "vs_1_1" and "ps_2_0"). Positions are row vectors multiplied by the projection "Proj".

namespace render {

// Geometry: untextured, the vertex colour as it is.
extern const char gVertexShaderGeomText[];
extern const char gPixelShaderGeomText[];
// Textured multiply: texel x vertex colour, all four channels.
extern const char gVertexShaderTexturedMultText[];
extern const char gPixelShaderTexturedMultText[];
// Textured tint: rgb = texel x blue + colour x green of the second colour, alpha = texel x colour alpha.
extern const char gVertexShaderTexturedTintText[];
extern const char gPixelShaderTexturedTintText[];

}  // namespace render
