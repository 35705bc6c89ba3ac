#pragma once
// The D3DX9 shader compiler and constant tables, as far as the engine calls them. Compiled code is
// the OpenGL device's form (Platform/D3D9/ShaderCode.h), not Direct3D 9 byte code; registers and
// samplers keep the Direct3D 9 numbering, so the engine's use of the tables is unchanged.
#include "Platform/D3D9/D3D9.h"

namespace d3dx9 {

using d3d9::D3D_OK;
using d3d9::D3DERR_INVALIDCALL;
using d3d9::DWORD;
using d3d9::HRESULT;
using d3d9::UINT;
using d3d9::ULONG;
using LPCSTR = const char*;
// Opaque constant handle; null when a constant is not found.
using D3DXHANDLE = const char*;

constexpr HRESULT D3DXERR_INVALIDDATA = d3d9::MakeD3DError(2905);

constexpr DWORD D3DXSHADER_DEBUG = 1u << 0;

enum D3DXREGISTER_SET { D3DXRS_BOOL = 0, D3DXRS_INT4 = 1, D3DXRS_FLOAT4 = 2, D3DXRS_SAMPLER = 3 };

enum D3DXPARAMETER_CLASS {
  D3DXPC_SCALAR = 0,
  D3DXPC_VECTOR = 1,
  D3DXPC_MATRIX_ROWS = 2,
  D3DXPC_MATRIX_COLUMNS = 3,
  D3DXPC_OBJECT = 4,
  D3DXPC_STRUCT = 5,
};

enum D3DXPARAMETER_TYPE {
  D3DXPT_VOID = 0,
  D3DXPT_BOOL = 1,
  D3DXPT_INT = 2,
  D3DXPT_FLOAT = 3,
  D3DXPT_SAMPLER2D = 12,
};

struct D3DXCONSTANT_DESC {
  LPCSTR Name;
  D3DXREGISTER_SET RegisterSet;
  UINT RegisterIndex;  // first float4 register, or the texture unit of a sampler
  UINT RegisterCount;
  D3DXPARAMETER_CLASS Class;
  D3DXPARAMETER_TYPE Type;
  UINT Rows;
  UINT Columns;
  UINT Elements;
  UINT StructMembers;
  UINT Bytes;
  const void* DefaultValue;
};

struct D3DXVECTOR4 {
  float x, y, z, w;
};

// Row by row; points are row vectors multiplied from the left (p x M).
struct D3DXMATRIX {
  float m[4][4];
};

struct D3DXMACRO {
  LPCSTR Name;
  LPCSTR Definition;
};

// Include handlers are not supported; the type exists for the call's shape.
class ID3DXInclude;

class ID3DXBuffer : public d3d9::IUnknown {
 public:
  virtual void* GetBufferPointer() = 0;
  virtual DWORD GetBufferSize() = 0;
};

class ID3DXConstantTable : public d3d9::IUnknown {
 public:
  // Top-level constants only: `parent` must be null. Null when the program has no such constant.
  virtual D3DXHANDLE GetConstantByName(D3DXHANDLE parent, LPCSTR name) = 0;
  // Fills one description (*count = 1); D3DERR_INVALIDCALL for a null or foreign handle. The name
  // stays valid while the table lives.
  virtual HRESULT GetConstantDesc(D3DXHANDLE constant, D3DXCONSTANT_DESC* desc, UINT* count) = 0;
  // Write a float constant's registers on the device (vertex or pixel registers by the table's
  // stage). A matrix goes in as its rows or, for a column_major constant, its columns, as many as
  // the constant has registers; a float as (value, 0, 0, 0). D3DERR_INVALIDCALL for a null or
  // foreign handle, a sampler, or a null device.
  virtual HRESULT SetMatrix(d3d9::IDirect3DDevice9* device, D3DXHANDLE constant, const D3DXMATRIX* matrix) = 0;
  virtual HRESULT SetVector(d3d9::IDirect3DDevice9* device, D3DXHANDLE constant, const D3DXVECTOR4* vector) = 0;
  virtual HRESULT SetFloat(d3d9::IDirect3DDevice9* device, D3DXHANDLE constant, float value) = 0;
};

using LPD3DXBUFFER = ID3DXBuffer*;
using LPD3DXCONSTANTTABLE = ID3DXConstantTable*;
using LPD3DXINCLUDE = ID3DXInclude*;

// Compiles the entry point `function` of HLSL `source` for `profile` ("vs_*" or "ps_*"). On success
// *shader holds the code (Platform/D3D9/ShaderCode.h) and *constants the stage's table; *messages gets
// the compiler's warnings when there are any, else null. On failure the result is D3DXERR_INVALIDDATA (or
// D3DERR_INVALIDCALL for bad arguments), *messages holds the error text (NUL-terminated) and nothing
// else is handed out. Defines and include handlers must be null. `flags` are accepted and ignored.
HRESULT D3DXCompileShader(LPCSTR source, UINT sourceLength, const D3DXMACRO* defines, LPD3DXINCLUDE include,
                          LPCSTR function, LPCSTR profile, DWORD flags, LPD3DXBUFFER* shader,
                          LPD3DXBUFFER* messages, LPD3DXCONSTANTTABLE* constants);

}  // namespace d3dx9
