// The host's plug-in interface as this module and our host see it: the basic
// suite, the message records, the action parameters and the eight suites the
// module acquires. Written from the published facts of the interface, slot for
// slot and at the exact width of every type, so that a module built against
// these declarations is binary-compatible with the real host.
//
// Rules that matter for compatibility:
//  - every suite is a plain table of function pointers; later versions only
//    append, so never call a slot beyond the version acquired;
//  - the action suites return a 16-bit OSErr, the PICA suites a 32-bit SPErr;
//    declaring one as the other reads garbage in the upper half on x64;
//  - four-character codes are 32-bit values, first character most significant.
#pragma once

#include <cstddef>
#include <cstdint>

// Every routine uses the compiler's default convention; on 32-bit Windows make
// that explicit so a /Gz or /Gr build cannot change it.
#if defined(_WIN32) && !defined(_WIN64)
#define VLH_API __cdecl
#else
#define VLH_API
#endif

extern "C" {

// ---- basic types ---------------------------------------------------------

using SPErr = int32_t;
using OSErr = int16_t;
using ASErr = int32_t;
using Boolean = unsigned char;
using SPBoolean = int32_t;
using ASBoolean = int32_t;
using ASUnicode = uint16_t;
using real64 = double;

using DescriptorKeyID = uint32_t;
using DescriptorTypeID = uint32_t;
using DescriptorClassID = uint32_t;
using DescriptorUnitID = uint32_t;
using DescriptorEnumID = uint32_t;
using DescriptorEnumTypeID = uint32_t;
using DescriptorFormID = uint32_t;
using DescriptorEventID = uint32_t;
using ResType = uint32_t;
using PIType = uint32_t;

using PIDialogPlayOptions = int32_t;
using PIDialogRecordOptions = int32_t;

using Handle = char**;
using PIDescriptorHandle = Handle;

struct PIActionDescriptorOpaque;
struct PIActionReferenceOpaque;
struct PIActionListOpaque;
struct ASZByteRun;
struct SPPlugin;

using PIActionDescriptor = PIActionDescriptorOpaque*;
using PIActionReference = PIActionReferenceOpaque*;
using PIActionList = PIActionListOpaque*;
using ASZString = ASZByteRun*;
using SPPluginRef = SPPlugin*;

// Opaque types of the plug-ins and file-list suites that the module never
// dereferences; declared only so every slot has its real signature.
struct SPStringPoolOpaque;
struct SPPluginListOpaque;
struct SPPluginListIteratorOpaque;
struct SPPropertyListOpaque;
struct SPAdapterOpaque;
struct SPFileOpaque;
struct PIProperty;
struct PSPixelMap;
struct VRect;

// ---- dialog options --------------------------------------------------------

constexpr PIDialogPlayOptions plugInDialogDontDisplay = 0;
constexpr PIDialogPlayOptions plugInDialogDisplay = 1;
constexpr PIDialogPlayOptions plugInDialogSilent = 2;

constexpr PIDialogRecordOptions plugInDialogOptional = 0;
constexpr PIDialogRecordOptions plugInDialogRequired = 1;
constexpr PIDialogRecordOptions plugInDialogNone = 2;

// ---- result codes ----------------------------------------------------------

constexpr SPErr kSPNoError = 0;
constexpr OSErr noErr = 0;
constexpr OSErr paramErr = -50;
constexpr OSErr memFullErr = -108;
constexpr SPErr errPlugInHostInsufficient = -30900;
constexpr SPErr errPlugInHostVersionTooOld = -30914; // 16-bit document on an old host
constexpr OSErr errMissingParameter = -1715;
constexpr SPErr kSPSuiteNotFoundError = 0x53214664; // 'S!Fd'
constexpr SPErr kSPUnimplementedError = 0x21494D50; // '!IMP'
constexpr SPErr kSPBadParameterError = 0x5061726D;  // 'Parm'

// ---- the basic suite (handed in with every message) ------------------------

constexpr const char* kSPBasicSuite = "SP Basic Suite";
constexpr int32_t kSPBasicSuiteVersion = 4;

struct SPBasicSuite {
    SPErr(VLH_API* AcquireSuite)(const char* name, int32_t version, const void** suite);
    SPErr(VLH_API* ReleaseSuite)(const char* name, int32_t version);
    SPBoolean(VLH_API* IsEqual)(const char* token1, const char* token2);
    SPErr(VLH_API* AllocateBlock)(size_t size, void** block);
    SPErr(VLH_API* FreeBlock)(void* block);
    SPErr(VLH_API* ReallocateBlock)(void* block, size_t newSize, void** newBlock);
    SPErr(VLH_API* Undefined)();
};

// ---- message records (default packing) --------------------------------------

constexpr int32_t kSPValidSPMessageData = 0x5350436B; // 'SPCk'

struct SPMessageData {
    int32_t SPCheck;
    SPPluginRef self;
    void* globals;
    SPBasicSuite* basic;
};

using SPInterfaceMessage = SPMessageData;

struct SPAccessMessage {
    SPMessageData d;
    int32_t when;
};

#if defined(_WIN32)
#pragma pack(push, 1)
#endif
struct PIActionParameters {
    PIDialogPlayOptions playInfo;
    PIDialogRecordOptions recordInfo;
    PIActionDescriptor descriptor;
};
#if defined(_WIN32)
#pragma pack(pop)
#endif

struct PSActionsPlugInMessage {
    SPMessageData d;
    PIActionParameters* actionParameters;
};

// Callers and selectors of the requests.
constexpr const char* kSPInterfaceCaller = "SP Interface";
constexpr const char* kSPInterfaceStartupSelector = "Startup";
constexpr const char* kSPInterfaceShutdownSelector = "Shutdown";
constexpr const char* kSPInterfaceAboutSelector = "About";
constexpr const char* kSPAccessCaller = "SP Access";
constexpr const char* kSPAccessReloadSelector = "Reload";
constexpr const char* kSPAccessUnloadSelector = "Unload";
constexpr const char* kPSPhotoshopCaller = "PS Photoshop";
constexpr const char* kPSDoIt = "Do It";

// The exported entry point.
using PluginMainProc = SPErr(VLH_API*)(const char* caller, const char* selector, void* message);

// ---- action descriptor suite, version 2 (46 slots) ---------------------------

constexpr const char* kPSActionDescriptorSuite = "df135115-c769-11d0-8079-00c04fd7ec47";
constexpr int32_t kPSActionDescriptorSuiteVersion = 2;

struct PSActionDescriptorProcs {
    OSErr(VLH_API* Make)(PIActionDescriptor* descriptor);
    OSErr(VLH_API* Free)(PIActionDescriptor descriptor);
    OSErr(VLH_API* GetType)(PIActionDescriptor descriptor, DescriptorKeyID key, DescriptorTypeID* type);
    OSErr(VLH_API* GetKey)(PIActionDescriptor descriptor, uint32_t index, DescriptorKeyID* key);
    OSErr(VLH_API* HasKey)(PIActionDescriptor descriptor, DescriptorKeyID key, Boolean* hasKey);
    OSErr(VLH_API* GetCount)(PIActionDescriptor descriptor, uint32_t* count);
    OSErr(VLH_API* IsEqual)(PIActionDescriptor descriptor, PIActionDescriptor other, Boolean* isEqual);
    OSErr(VLH_API* Erase)(PIActionDescriptor descriptor, DescriptorKeyID key);
    OSErr(VLH_API* Clear)(PIActionDescriptor descriptor);
    OSErr(VLH_API* PutInteger)(PIActionDescriptor descriptor, DescriptorKeyID key, int32_t value);
    OSErr(VLH_API* PutFloat)(PIActionDescriptor descriptor, DescriptorKeyID key, double value);
    OSErr(VLH_API* PutUnitFloat)(PIActionDescriptor descriptor, DescriptorKeyID key, DescriptorUnitID unit,
                                 double value);
    OSErr(VLH_API* PutString)(PIActionDescriptor descriptor, DescriptorKeyID key, const char* cstr);
    OSErr(VLH_API* PutBoolean)(PIActionDescriptor descriptor, DescriptorKeyID key, Boolean value);
    OSErr(VLH_API* PutList)(PIActionDescriptor descriptor, DescriptorKeyID key, PIActionList value);
    OSErr(VLH_API* PutObject)(PIActionDescriptor descriptor, DescriptorKeyID key, DescriptorClassID type,
                              PIActionDescriptor value);
    OSErr(VLH_API* PutGlobalObject)(PIActionDescriptor descriptor, DescriptorKeyID key, DescriptorClassID type,
                                    PIActionDescriptor value);
    OSErr(VLH_API* PutEnumerated)(PIActionDescriptor descriptor, DescriptorKeyID key, DescriptorEnumTypeID type,
                                  DescriptorEnumID value);
    OSErr(VLH_API* PutReference)(PIActionDescriptor descriptor, DescriptorKeyID key, PIActionReference value);
    OSErr(VLH_API* PutClass)(PIActionDescriptor descriptor, DescriptorKeyID key, DescriptorClassID value);
    OSErr(VLH_API* PutGlobalClass)(PIActionDescriptor descriptor, DescriptorKeyID key, DescriptorClassID value);
    OSErr(VLH_API* PutAlias)(PIActionDescriptor descriptor, DescriptorKeyID key, Handle value);
    OSErr(VLH_API* GetInteger)(PIActionDescriptor descriptor, DescriptorKeyID key, int32_t* value);
    OSErr(VLH_API* GetFloat)(PIActionDescriptor descriptor, DescriptorKeyID key, double* value);
    OSErr(VLH_API* GetUnitFloat)(PIActionDescriptor descriptor, DescriptorKeyID key, DescriptorUnitID* unit,
                                 double* value);
    OSErr(VLH_API* GetStringLength)(PIActionDescriptor descriptor, DescriptorKeyID key, uint32_t* stringLength);
    OSErr(VLH_API* GetString)(PIActionDescriptor descriptor, DescriptorKeyID key, char* cstr, uint32_t maxLength);
    OSErr(VLH_API* GetBoolean)(PIActionDescriptor descriptor, DescriptorKeyID key, Boolean* value);
    OSErr(VLH_API* GetList)(PIActionDescriptor descriptor, DescriptorKeyID key, PIActionList* value);
    OSErr(VLH_API* GetObject)(PIActionDescriptor descriptor, DescriptorKeyID key, DescriptorClassID* type,
                              PIActionDescriptor* value);
    OSErr(VLH_API* GetGlobalObject)(PIActionDescriptor descriptor, DescriptorKeyID key, DescriptorClassID* type,
                                    PIActionDescriptor* value);
    OSErr(VLH_API* GetEnumerated)(PIActionDescriptor descriptor, DescriptorKeyID key, DescriptorEnumTypeID* type,
                                  DescriptorEnumID* value);
    OSErr(VLH_API* GetReference)(PIActionDescriptor descriptor, DescriptorKeyID key, PIActionReference* value);
    OSErr(VLH_API* GetClass)(PIActionDescriptor descriptor, DescriptorKeyID key, DescriptorClassID* value);
    OSErr(VLH_API* GetGlobalClass)(PIActionDescriptor descriptor, DescriptorKeyID key, DescriptorClassID* value);
    OSErr(VLH_API* GetAlias)(PIActionDescriptor descriptor, DescriptorKeyID key, Handle* value);
    OSErr(VLH_API* HasKeys)(PIActionDescriptor descriptor, DescriptorKeyID* requiredKeys, Boolean* hasKeys);
    OSErr(VLH_API* PutIntegers)(PIActionDescriptor descriptor, DescriptorKeyID key, uint32_t count,
                                int32_t* values);
    OSErr(VLH_API* GetIntegers)(PIActionDescriptor descriptor, DescriptorKeyID key, uint32_t count,
                                int32_t* values);
    OSErr(VLH_API* AsHandle)(PIActionDescriptor descriptor, PIDescriptorHandle* value);
    OSErr(VLH_API* HandleToDescriptor)(PIDescriptorHandle value, PIActionDescriptor* descriptor);
    OSErr(VLH_API* PutZString)(PIActionDescriptor descriptor, DescriptorKeyID key, ASZString zstring);
    OSErr(VLH_API* GetZString)(PIActionDescriptor descriptor, DescriptorKeyID key, ASZString* zstring);
    OSErr(VLH_API* PutData)(PIActionDescriptor descriptor, DescriptorKeyID key, int32_t length, void* value);
    OSErr(VLH_API* GetDataLength)(PIActionDescriptor descriptor, DescriptorKeyID key, int32_t* value);
    OSErr(VLH_API* GetData)(PIActionDescriptor descriptor, DescriptorKeyID key, void* value);
};

// ---- action reference suite, version 2 (19 slots) -----------------------------

constexpr const char* kPSActionReferenceSuite = "df135117-c769-11d0-8079-00c04fd7ec47";
constexpr int32_t kPSActionReferenceSuiteVersion = 2;

struct PSActionReferenceProcs {
    OSErr(VLH_API* Make)(PIActionReference* reference);
    OSErr(VLH_API* Free)(PIActionReference reference);
    OSErr(VLH_API* GetForm)(PIActionReference reference, DescriptorFormID* value);
    OSErr(VLH_API* GetDesiredClass)(PIActionReference reference, DescriptorClassID* value);
    OSErr(VLH_API* PutName)(PIActionReference reference, DescriptorClassID desiredClass, const char* cstrValue);
    OSErr(VLH_API* PutIndex)(PIActionReference reference, DescriptorClassID desiredClass, uint32_t value);
    OSErr(VLH_API* PutIdentifier)(PIActionReference reference, DescriptorClassID desiredClass, uint32_t value);
    OSErr(VLH_API* PutOffset)(PIActionReference reference, DescriptorClassID desiredClass, int32_t value);
    OSErr(VLH_API* PutEnumerated)(PIActionReference reference, DescriptorClassID desiredClass,
                                  DescriptorEnumTypeID type, DescriptorEnumID value);
    OSErr(VLH_API* PutProperty)(PIActionReference reference, DescriptorClassID desiredClass,
                                DescriptorKeyID value);
    OSErr(VLH_API* PutClass)(PIActionReference reference, DescriptorClassID desiredClass);
    OSErr(VLH_API* GetNameLength)(PIActionReference reference, uint32_t* stringLength);
    OSErr(VLH_API* GetName)(PIActionReference reference, char* name, uint32_t maxLength);
    OSErr(VLH_API* GetIndex)(PIActionReference reference, uint32_t* value);
    OSErr(VLH_API* GetIdentifier)(PIActionReference reference, uint32_t* value);
    OSErr(VLH_API* GetOffset)(PIActionReference reference, int32_t* value);
    OSErr(VLH_API* GetEnumerated)(PIActionReference reference, DescriptorEnumTypeID* type,
                                  DescriptorEnumID* enumValue);
    OSErr(VLH_API* GetProperty)(PIActionReference reference, DescriptorKeyID* value);
    OSErr(VLH_API* GetContainer)(PIActionReference reference, PIActionReference* value);
};

// ---- action list suite, version 1 (38 slots) ----------------------------------
// Note the order at the end: the data routines come before the ZString ones,
// unlike the descriptor suite.

constexpr const char* kPSActionListSuite = "df135116-c769-11d0-8079-00c04fd7ec47";
constexpr int32_t kPSActionListSuiteVersion = 1;

struct PSActionListProcs {
    OSErr(VLH_API* Make)(PIActionList* actionList);
    OSErr(VLH_API* Free)(PIActionList actionList);
    OSErr(VLH_API* GetType)(PIActionList list, uint32_t index, DescriptorTypeID* value);
    OSErr(VLH_API* GetCount)(PIActionList list, uint32_t* value);
    OSErr(VLH_API* PutInteger)(PIActionList list, int32_t value);
    OSErr(VLH_API* PutFloat)(PIActionList list, double value);
    OSErr(VLH_API* PutUnitFloat)(PIActionList list, DescriptorUnitID unit, double value);
    OSErr(VLH_API* PutString)(PIActionList list, const char* cstr);
    OSErr(VLH_API* PutBoolean)(PIActionList list, Boolean value);
    OSErr(VLH_API* PutList)(PIActionList list, PIActionList value);
    OSErr(VLH_API* PutObject)(PIActionList list, DescriptorClassID type, PIActionDescriptor value);
    OSErr(VLH_API* PutGlobalObject)(PIActionList list, DescriptorClassID type, PIActionDescriptor value);
    OSErr(VLH_API* PutEnumerated)(PIActionList list, DescriptorEnumTypeID type, DescriptorEnumID value);
    OSErr(VLH_API* PutReference)(PIActionList list, PIActionReference value);
    OSErr(VLH_API* PutClass)(PIActionList list, DescriptorClassID value);
    OSErr(VLH_API* PutGlobalClass)(PIActionList list, DescriptorClassID value);
    OSErr(VLH_API* PutAlias)(PIActionList list, Handle value);
    OSErr(VLH_API* GetInteger)(PIActionList list, uint32_t index, int32_t* value);
    OSErr(VLH_API* GetFloat)(PIActionList list, uint32_t index, double* value);
    OSErr(VLH_API* GetUnitFloat)(PIActionList list, uint32_t index, DescriptorUnitID* unit, double* value);
    OSErr(VLH_API* GetStringLength)(PIActionList list, uint32_t index, uint32_t* stringLength);
    OSErr(VLH_API* GetString)(PIActionList list, uint32_t index, char* cstr, uint32_t maxLength);
    OSErr(VLH_API* GetBoolean)(PIActionList list, uint32_t index, Boolean* value);
    OSErr(VLH_API* GetList)(PIActionList list, uint32_t index, PIActionList* actionList);
    OSErr(VLH_API* GetObject)(PIActionList list, uint32_t index, DescriptorClassID* type,
                              PIActionDescriptor* value);
    OSErr(VLH_API* GetGlobalObject)(PIActionList list, uint32_t index, DescriptorClassID* type,
                                    PIActionDescriptor* value);
    OSErr(VLH_API* GetEnumerated)(PIActionList list, uint32_t index, DescriptorEnumTypeID* type,
                                  DescriptorEnumID* value);
    OSErr(VLH_API* GetReference)(PIActionList list, uint32_t index, PIActionReference* value);
    OSErr(VLH_API* GetClass)(PIActionList list, uint32_t index, DescriptorClassID* value);
    OSErr(VLH_API* GetGlobalClass)(PIActionList list, uint32_t index, DescriptorClassID* value);
    OSErr(VLH_API* GetAlias)(PIActionList list, uint32_t index, Handle* aliasHandle);
    OSErr(VLH_API* PutIntegers)(PIActionList list, uint32_t count, int32_t* values);
    OSErr(VLH_API* GetIntegers)(PIActionList list, uint32_t count, int32_t* values);
    OSErr(VLH_API* PutData)(PIActionList list, int32_t length, void* data);
    OSErr(VLH_API* GetDataLength)(PIActionList list, uint32_t index, int32_t* length);
    OSErr(VLH_API* GetData)(PIActionList list, uint32_t index, void* value);
    OSErr(VLH_API* PutZString)(PIActionList list, ASZString zstring);
    OSErr(VLH_API* GetZString)(PIActionList list, uint32_t index, ASZString* zstring);
};

// ---- action control suite, version 3 (8 slots) --------------------------------

constexpr const char* kPSActionControlSuite = "bc1e4d70-f953-11d0-8d9f-00c04fd5f7ee";
constexpr int32_t kPSActionControlSuiteVersion = 3;

// The history procedure returns the 32-bit error type, not OSErr.
using PISuspendProc = SPErr(VLH_API*)(void* data);
using PIEventNotifier = void(VLH_API*)(DescriptorEventID event, PIActionDescriptor descriptor,
                                       PIDialogRecordOptions options, void* data);

struct PSActionControlProcs {
    OSErr(VLH_API* Play)(PIActionDescriptor* result, DescriptorEventID event, PIActionDescriptor descriptor,
                         PIDialogPlayOptions options);
    OSErr(VLH_API* Get)(PIActionDescriptor* result, PIActionReference reference);
    OSErr(VLH_API* StringIDToTypeID)(const char* stringID, DescriptorTypeID* typeID);
    OSErr(VLH_API* TypeIDToStringID)(DescriptorTypeID typeID, char* cstr, uint32_t maxLength);
    OSErr(VLH_API* AddNotify)(SPPluginRef plugin, DescriptorEventID event, PIEventNotifier notifier, void* data);
    OSErr(VLH_API* RemoveNotify)(SPPluginRef plugin, DescriptorEventID event);
    OSErr(VLH_API* SuspendHistory)(PIActionReference reference, PISuspendProc proc, void* procData,
                                   ASZString historyName);
    OSErr(VLH_API* MakeStringAlias)(const char* newStringID, const char* existingStringID);
};

// ---- host string suite, version 1 (23 slots) --------------------------------

constexpr const char* kASZStringSuite = "AS ZString Suite";
constexpr int32_t kASZStringSuiteVersion = 1;

struct ASZStringSuite {
    ASErr(VLH_API* MakeFromUnicode)(ASUnicode* src, size_t count, ASZString* newZString);
    ASErr(VLH_API* MakeFromCString)(const char* src, size_t byteCount, ASZString* newZString);
    ASErr(VLH_API* MakeFromPascalString)(const unsigned char* src, size_t byteCount, ASZString* newZString);
    ASErr(VLH_API* MakeRomanizationOfInteger)(int32_t value, ASZString* newZString);
    ASErr(VLH_API* MakeRomanizationOfFixed)(int32_t value, int16_t places, ASBoolean trim, ASBoolean isSigned,
                                           ASZString* newZString);
    ASErr(VLH_API* MakeRomanizationOfDouble)(double value, ASZString* newZString);
    ASZString(VLH_API* GetEmpty)();
    ASErr(VLH_API* Copy)(ASZString source, ASZString* copy);
    ASErr(VLH_API* Replace)(ASZString zstr, uint32_t index, ASZString replacement);
    ASErr(VLH_API* TrimEllipsis)(ASZString zstr);
    ASErr(VLH_API* TrimSpaces)(ASZString zstr);
    ASErr(VLH_API* RemoveAccelerators)(ASZString zstr);
    ASErr(VLH_API* AddRef)(ASZString zstr);
    ASErr(VLH_API* Release)(ASZString zstr);
    ASBoolean(VLH_API* IsAllWhiteSpace)(ASZString zstr);
    ASBoolean(VLH_API* IsEmpty)(ASZString zstr);
    ASBoolean(VLH_API* WillReplace)(ASZString zstr, uint32_t index);
    uint32_t(VLH_API* LengthAsUnicodeCString)(ASZString zstr);
    ASErr(VLH_API* AsUnicodeCString)(ASZString zstr, ASUnicode* str, uint32_t strSize, ASBoolean checkStrSize);
    uint32_t(VLH_API* LengthAsCString)(ASZString zstr);
    ASErr(VLH_API* AsCString)(ASZString zstr, char* str, uint32_t strSize, ASBoolean checkStrSize);
    uint32_t(VLH_API* LengthAsPascalString)(ASZString zstr);
    ASErr(VLH_API* AsPascalString)(ASZString zstr, char* str, uint32_t strSize, ASBoolean checkStrSize);
};

constexpr ASErr kASBufferTooSmallErr = 0x42554646; // 'BUFF'

// ---- user-interface hooks suite, version 1 (8 slots) ---------------------------

constexpr const char* kPSUIHooksSuite = "Photoshop UIHooks Suite for Plug-ins";
constexpr int32_t kPSUIHooksSuiteVersion1 = 1;

struct PSUIHooksSuite1 {
    void(VLH_API* processEvent)(void* event);
    OSErr(VLH_API* displayPixels)(const PSPixelMap* source, const VRect* srcRect, int32_t dstRow, int32_t dstCol,
                                  void* platformContext);
    void(VLH_API* progressBar)(int32_t done, int32_t total);
    Boolean(VLH_API* testAbort)();
    intptr_t(VLH_API* MainAppWindow)();
    SPErr(VLH_API* SetCursor)(const char* cursorID);
    uint32_t(VLH_API* TickCount)();
    SPErr(VLH_API* GetPluginName)(SPPluginRef plugin, ASZString* pluginName);
};

// ---- file-list suite, version 4 (9 slots) --------------------------------------

constexpr const char* kPSGetFileListSuite = "Photoshop GetFileList Suite for Plug-ins";
constexpr int32_t kPSGetFileListSuiteVersion4 = 4;

constexpr size_t kMaxPathLength = 300;

// Where a plug-in file lies: on Windows one ANSI path buffer.
struct SPPlatformFileSpecification {
    char path[kMaxPathLength];
};

// Windows FSSpec as the file-list suite's first routine takes it.
struct FSSpec {
    int16_t vRefNum;
    int16_t padding;
    int32_t parID;
    unsigned char name[256];
};

// The SDK declares these with C++ references; at the binary level a reference
// is a pointer.
struct PSGetFileListSuite4 {
    SPErr(VLH_API* GetFileHandleList)(PIActionDescriptor* list, FSSpec* fileSpec, bool recurse);
    SPErr(VLH_API* GetBrowserNameList)(PIActionDescriptor* list);
    SPErr(VLH_API* BrowseUrlWithIndexBrowser)(uint16_t browserIndex, const char* url);
    SPErr(VLH_API* BrowseUrl)(const char* url);
    SPErr(VLH_API* GetBrowserFileSpec)(uint16_t browserIndex, SPPlatformFileSpecification* fileSpec);
    SPErr(VLH_API* GetDefaultSystemScript)(int16_t* script);
    SPErr(VLH_API* HasDoubleByteInString)(const char* text, bool* hasDoubleByte);
    SPErr(VLH_API* GetWebTemplateFolderSpec)(SPPlatformFileSpecification* fileSpec);
    SPErr(VLH_API* GetWebTemplateList)(PIActionDescriptor* styleList, bool recurse);
};

// ---- plug-ins suite, version 4 (26 slots) --------------------------------------

constexpr const char* kSPPluginsSuite = "SP Plug-ins Suite";
constexpr int32_t kSPPluginsSuiteVersion = 4;

using SPStringPoolRef = SPStringPoolOpaque*;
using SPPluginListRef = SPPluginListOpaque*;
using SPPluginListIteratorRef = SPPluginListIteratorOpaque*;
using SPPropertyListRef = SPPropertyListOpaque*;
using SPAdapterRef = SPAdapterOpaque*;
using SPFileRef = SPFileOpaque*;

struct SPPluginsSuite4 {
    SPErr(VLH_API* AllocatePluginList)(SPStringPoolRef strings, SPPluginListRef* pluginList);
    SPErr(VLH_API* FreePluginList)(SPPluginListRef pluginList);
    SPErr(VLH_API* AddPlugin)(SPPluginListRef pluginList, const SPPlatformFileSpecification* fileSpec,
                              PIProperty* pluginProperties, const char* adapterName, void* adapterInfo,
                              SPPluginRef* plugin);
    SPErr(VLH_API* NewPluginListIterator)(SPPluginListRef pluginList, SPPluginListIteratorRef* iter);
    SPErr(VLH_API* NextPlugin)(SPPluginListIteratorRef iter, SPPluginRef* plugin);
    SPErr(VLH_API* DeletePluginListIterator)(SPPluginListIteratorRef iter);
    SPErr(VLH_API* GetPluginListNeededSuiteAvailable)(SPPluginListRef pluginList, SPBoolean* available);
    SPErr(VLH_API* GetPluginHostEntry)(SPPluginRef plugin, PluginMainProc* host);
    SPErr(VLH_API* GetPluginFileSpecification)(SPPluginRef plugin, SPPlatformFileSpecification* fileSpec);
    SPErr(VLH_API* GetPluginPropertyList)(SPPluginRef plugin, SPPropertyListRef* propertyList);
    SPErr(VLH_API* GetPluginGlobals)(SPPluginRef plugin, void** globals);
    SPErr(VLH_API* SetPluginGlobals)(SPPluginRef plugin, void* globals);
    SPErr(VLH_API* GetPluginStarted)(SPPluginRef plugin, int32_t* started);
    SPErr(VLH_API* SetPluginStarted)(SPPluginRef plugin, int32_t started);
    SPErr(VLH_API* GetPluginSkipShutdown)(SPPluginRef plugin, int32_t* skipShutdown);
    SPErr(VLH_API* SetPluginSkipShutdown)(SPPluginRef plugin, int32_t skipShutdown);
    SPErr(VLH_API* GetPluginBroken)(SPPluginRef plugin, int32_t* broken);
    SPErr(VLH_API* SetPluginBroken)(SPPluginRef plugin, int32_t broken);
    SPErr(VLH_API* GetPluginAdapter)(SPPluginRef plugin, SPAdapterRef* adapter);
    SPErr(VLH_API* GetPluginAdapterInfo)(SPPluginRef plugin, void** adapterInfo);
    SPErr(VLH_API* SetPluginAdapterInfo)(SPPluginRef plugin, void* adapterInfo);
    SPErr(VLH_API* FindPluginProperty)(SPPluginRef plugin, PIType vendorID, PIType propertyKey,
                                       int32_t propertyID, PIProperty** property);
    SPErr(VLH_API* GetPluginName)(SPPluginRef plugin, const char** name);
    SPErr(VLH_API* SetPluginName)(SPPluginRef plugin, const char* name);
    SPErr(VLH_API* GetNamedPlugin)(const char* name, SPPluginRef* plugin);
    SPErr(VLH_API* SetPluginPropertyList)(SPPluginRef plugin, SPFileRef file);
};

} // extern "C"

// Layout checks: a slot count or a width wrong here breaks the binary
// interface silently, so the compiler checks what the facts fix.
static_assert(sizeof(PSActionDescriptorProcs) == 46 * sizeof(void*));
static_assert(sizeof(PSActionReferenceProcs) == 19 * sizeof(void*));
static_assert(sizeof(PSActionListProcs) == 38 * sizeof(void*));
static_assert(sizeof(PSActionControlProcs) == 8 * sizeof(void*));
static_assert(sizeof(ASZStringSuite) == 23 * sizeof(void*));
static_assert(sizeof(PSUIHooksSuite1) == 8 * sizeof(void*));
static_assert(sizeof(PSGetFileListSuite4) == 9 * sizeof(void*));
static_assert(sizeof(SPPluginsSuite4) == 26 * sizeof(void*));
static_assert(sizeof(SPBasicSuite) == 7 * sizeof(void*));
static_assert(sizeof(SPMessageData) == 4 * sizeof(void*));
static_assert(sizeof(PSActionsPlugInMessage) == 5 * sizeof(void*));
static_assert(sizeof(PIActionParameters) == 8 + sizeof(void*));
static_assert(sizeof(SPPlatformFileSpecification) == 300);
static_assert(sizeof(FSSpec) == 264);
static_assert(sizeof(OSErr) == 2 && sizeof(SPErr) == 4 && sizeof(Boolean) == 1);
