#pragma once
// The provider's names, as ActiveSync and the registry know them.
#include <windows.h>

namespace vorlan::provider {

// {0FF60B99-1F79-476b-91BE-32F3C5481E3E}
inline constexpr CLSID CLSID_VorlanProvider = {
    0x0FF60B99, 0x1F79, 0x476B, {0x91, 0xBE, 0x32, 0xF3, 0xC5, 0x48, 0x1E, 0x3E}};
inline constexpr char kClsidText[] = "{0FF60B99-1F79-476b-91BE-32F3C5481E3E}";
inline constexpr char kProgId[] = "Dravenhall.Vorlan";
inline constexpr char kStoreDescription[] = "Dravenhall Sync";
// The one object type this store keeps.
inline constexpr char kObjectType[] = "Vorlan";
inline constexpr int kIconResource = 101;

}  // namespace vorlan::provider
