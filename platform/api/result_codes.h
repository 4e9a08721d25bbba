#pragma once
// Result codes of the platform layers. 0 is success, negative is failure;
// the values are the published ones so that a code can be looked up.
#include <cstdint>

namespace platform {

using HResult = std::int32_t;

constexpr HResult kOk = 0;
constexpr HResult kFalse = 1;  // success, nothing done
constexpr HResult E_FAIL = static_cast<HResult>(0x80004005u);
constexpr HResult E_OUTOFMEMORY = static_cast<HResult>(0x8007000Eu);
constexpr HResult E_NOINTERFACE = static_cast<HResult>(0x80004002u);

// Sound output and capture.
constexpr HResult DSERR_OUTOFMEMORY = E_OUTOFMEMORY;
constexpr HResult DSERR_INVALIDPARAM = static_cast<HResult>(0x80070057u);
constexpr HResult DSERR_ALLOCATED = static_cast<HResult>(0x8878000Au);
constexpr HResult DSERR_CONTROLUNAVAIL = static_cast<HResult>(0x8878001Eu);
constexpr HResult DSERR_INVALIDCALL = static_cast<HResult>(0x88780032u);
constexpr HResult DSERR_BADFORMAT = static_cast<HResult>(0x88780064u);
constexpr HResult DSERR_NODRIVER = static_cast<HResult>(0x88780078u);
constexpr HResult DSERR_BUFFERLOST = static_cast<HResult>(0x88780096u);

// Display.
constexpr HResult DDERR_GENERIC = E_FAIL;
constexpr HResult DDERR_SURFACELOST = static_cast<HResult>(0x887601C2u);
constexpr HResult DDERR_WASSTILLDRAWING = static_cast<HResult>(0x8876021Cu);
constexpr HResult DDERR_NODIRECTDRAWHW = static_cast<HResult>(0x88760230u);
constexpr HResult DDERR_INVALIDMODE = static_cast<HResult>(0x88760078u);

constexpr bool failed(HResult r) { return r < 0; }

}  // namespace platform
