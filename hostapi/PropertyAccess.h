// Reading values out of the host's object model.
//
// Statuses are 32-bit: 0 for success, a host code (16 bits, sign-extended)
// passed through unchanged, or one of this module's two codes below.
#pragma once

#include "hostapi/FourCharCode.h"
#include "hostapi/HostInterface.h"

#include <cstdint>

namespace vlh {

// A required out-variable is missing, or a text does not fit its buffer.
constexpr int32_t kStatusBadParameter = int32_t(FourCC("Parm"));
// The key's type is not one that GetDescriptorValue reads.
constexpr int32_t kStatusUnimplemented = int32_t(FourCC("!IMP"));

// Reads `key` out of `descriptor` by the key's own type. What `value` and
// `extra` must point to depends on that type:
//   'long'          value: int32_t*
//   'doub'          value: double*
//   'bool'          value: Boolean* (one byte)
//   'UntF'          value: double*,             extra: DescriptorUnitID* (required)
//   'enum'          value: DescriptorEnumID*,   extra: DescriptorEnumTypeID* (required)
//   'TEXT'          value: char* buffer,        extra: uint32_t* (required; in: the buffer size in
//                   bytes, out: the text's length). A text that does not fit with its NUL gives
//                   kStatusBadParameter and leaves the buffer unchanged.
//   'Objc', 'GlbO'  value: PIActionDescriptor*, extra: DescriptorClassID* (required); the caller
//                   owns and frees the object
//   'obj '          value: PIActionReference* (the caller frees it)
//   'VlLs'          value: PIActionList* (the caller frees it)
//   'type', 'GlbC'  value: DescriptorClassID*
//   'alis', 'Pth '  value: Handle*
//   anything else   nothing read; kStatusUnimplemented
// A key the descriptor does not hold is not an error: the status is 0 and the
// out-variable keeps the caller's default. A null `value` gives kStatusBadParameter.
//
// A caller that knows what it expects names the type in `expected`: a value
// of another type is then not read (kStatusBadParameter), so a host that
// answers with an unexpected type can never write past a caller's variable.
// 0 reads whatever type the key has.
int32_t GetDescriptorValue(PIActionDescriptor descriptor, DescriptorKeyID key, void* value, void* extra = nullptr,
                           DescriptorTypeID expected = 0);

// Asks the host for property `key` of the current target of `classId` (the
// application 'capp', the active document 'Dcmn') and reads it as
// GetDescriptorValue does. With key 0 the whole object is handed to `value`
// (a PIActionDescriptor*), which the caller then owns and frees.
// Returns the status of the first step that failed, else that of the read.
int32_t GetTargetProperty(DescriptorClassID classId, DescriptorKeyID key, void* value, void* extra = nullptr,
                          DescriptorTypeID expected = 0);

} // namespace vlh
