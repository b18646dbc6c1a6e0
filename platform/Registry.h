// The per-user registry calls the module uses. On Windows these are the
// system's own; elsewhere a stand-in offers the same five calls with the same
// meanings and result codes, so the code that uses them is written once.
//
// The stand-in keeps the current user's hive in folders under
// $XDG_CONFIG_HOME (default ~/.config, without a home the temporary
// folder)/vellicor-registry/HKEY_CURRENT_USER: a key is a folder, a value a
// file that carries its type and data. Like a Windows hive it always holds
// "Software". Every write goes to a temporary file renamed into place, so a
// reader sees the old value or the new one, never a mix. With nowhere to keep
// the hive every call on HKEY_CURRENT_USER fails with ERROR_INVALID_HANDLE;
// none throws.
#pragma once

#if defined(_WIN32)
#include <windows.h>
#else

#include <cstdint>

using LONG = int32_t;
using DWORD = uint32_t;
using BYTE = uint8_t;
using LPBYTE = BYTE*;
using LPDWORD = DWORD*;
using REGSAM = DWORD;
using LPSTR = char*;
using LPCSTR = const char*;

struct RegistryKeyOpaque;
using HKEY = RegistryKeyOpaque*;
using PHKEY = HKEY*;
struct SECURITY_ATTRIBUTES;
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;

// The one predefined key the module uses.
extern HKEY const HKEY_CURRENT_USER;

constexpr LONG ERROR_SUCCESS = 0;
constexpr LONG ERROR_FILE_NOT_FOUND = 2;
constexpr LONG ERROR_ACCESS_DENIED = 5;
constexpr LONG ERROR_INVALID_HANDLE = 6;
constexpr LONG ERROR_OUTOFMEMORY = 14;
constexpr LONG ERROR_INVALID_PARAMETER = 87;
constexpr LONG ERROR_MORE_DATA = 234;
constexpr LONG ERROR_BADDB = 1009;
constexpr LONG ERROR_CANTWRITE = 1013;

constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;

// Opens an existing key below `key`; never creates it.
LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result);

// Opens `subKey` below `key`, creating it (and any missing folders of a
// backslash-separated path) when needed. `key` must have been opened with
// KEY_CREATE_SUB_KEY.
LONG RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR keyClass, DWORD options, REGSAM access,
                     LPSECURITY_ATTRIBUTES security, PHKEY result, LPDWORD disposition);

// Reads a value's type and data. With `data` null only the type and size are
// reported. A buffer too small gives ERROR_MORE_DATA and the size needed.
// Needs KEY_QUERY_VALUE.
LONG RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size);

// Stores `size` bytes of `data` as a value of `type`. Needs KEY_SET_VALUE.
LONG RegSetValueExA(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE* data, DWORD size);

LONG RegCloseKey(HKEY key);

#endif
