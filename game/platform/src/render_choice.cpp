// SPDX-License-Identifier: MIT
#include "render_choice.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <system_error>

namespace qon::platform {
namespace {

std::string lowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

}  // namespace

std::optional<RendererRequest> ParseRendererRequest(const char* value) {
    if (value == nullptr) return RendererRequest::Auto;
    const std::string word = lowered(value);
    if (word.empty() || word == "auto") return RendererRequest::Auto;
    if (word == "software") return RendererRequest::Software;
    if (word == "gpu") return RendererRequest::Gpu;
    return std::nullopt;
}

bool IsSoftwareRasteriser(std::string_view glRenderer) {
    const std::string name = lowered(glRenderer);
    for (const char* word : {"llvmpipe", "softpipe", "software rasterizer", "swrast", "swr "}) {
        if (name.find(word) != std::string::npos) return true;
    }
    return false;
}

bool HasGpuDevice(const std::filesystem::path& deviceFolder) {
    std::error_code error;
    if (std::filesystem::exists(deviceFolder / "nvidiactl", error)) return true;
    for (std::filesystem::directory_iterator it(deviceFolder / "dri", error), end;
         !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.rfind("renderD", 0) == 0) return true;
    }
    return false;
}

bool ShouldTryGpu(RendererRequest request, std::string_view videoDriver, bool gpuDevice) {
    if (request == RendererRequest::Software) return false;
    if (videoDriver == "dummy" || videoDriver == "offscreen") return false;
    return request == RendererRequest::Gpu || gpuDevice;
}

bool ShouldKeepGpu(RendererRequest request, bool accelerated, std::string_view glRenderer) {
    if (!accelerated) return false;
    return request == RendererRequest::Gpu || !IsSoftwareRasteriser(glRenderer);
}

}  // namespace qon::platform
