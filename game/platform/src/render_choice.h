// SPDX-License-Identifier: MIT
#pragma once

// How the game's window is drawn: through the GPU (an SDL renderer on OpenGL, the frame
// uploaded to a texture and scaled by the GPU) or without it (the frame scaled by the
// game itself into the window's own pixels, which the window system shows as they are).
//
// A GPU path on a machine without a working GPU driver runs OpenGL in software
// (llvmpipe), which costs several times what the whole game costs and loads a compiler
// of some 50 MB; the path without GPU is then far cheaper. The choice:
//   QON_RENDERER=software  never touches OpenGL;
//   QON_RENDERER=gpu       takes the GPU path whatever renders it;
//   unset or auto          the GPU path when the machine has a GPU device and its OpenGL
//                          is not a software rasteriser, else the path without GPU.

#include <filesystem>
#include <optional>
#include <string_view>

namespace qon::platform {

enum class RendererRequest { Auto, Software, Gpu };

// The value of QON_RENDERER; nothing when it is not one of the words above (the game
// then says so and chooses by itself). Unset and empty mean Auto.
std::optional<RendererRequest> ParseRendererRequest(const char* value);

// True when an OpenGL renderer string names a rasteriser that runs on the CPU.
bool IsSoftwareRasteriser(std::string_view glRenderer);

// True when the device folder holds a GPU's node: a render node (dri/renderD*) or the
// NVIDIA driver's control node (nvidiactl). A display-only driver (simpledrm, a
// virtual machine's plain frame buffer) makes dri/card* but no render node; without one,
// any OpenGL the machine offers runs in software.
bool HasGpuDevice(const std::filesystem::path& deviceFolder = "/dev");

// Whether to try the GPU path at all, before any window exists: never when software is
// asked for or the video driver draws nowhere real (dummy, offscreen); otherwise when GPU
// is asked for or a GPU device exists.
bool ShouldTryGpu(RendererRequest request, std::string_view videoDriver, bool gpuDevice);

// Whether to keep a GPU renderer once made: an accelerated SDL renderer, and unless the
// GPU path was asked for, one whose OpenGL renderer string is not a software rasteriser.
bool ShouldKeepGpu(RendererRequest request, bool accelerated, std::string_view glRenderer);

}  // namespace qon::platform
