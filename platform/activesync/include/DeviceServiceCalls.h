#pragma once
// The device's replication service as the desktop reaches it: the library
// "ReplService" in the device's \Windows, called through CeRapiInvoke, one
// export per call the service makes of a device provider. Blocks are
// little-endian wire values (words, texts, byte blocks: see Wire.h); every
// answer starts with the call's own result word.
//
// | export                | input                                          | answer after the result word |
// |-----------------------|------------------------------------------------|------------------------------|
// | ReplInitObjType       | type (null text: end of connection), partner bit | -                          |
// | ReplGetObjTypeInfo    | type                                           | name, objects, bytes, last write (64 bits) |
// | ReplObjectNotify      | record size (0: its own), type, flags, partner bit, oid | changed, deleted, identifiers |
// | ReplNotifyFiles       | partner bit                                    | files asked, changed ids, deleted ids (each a count and words) |
// | ReplSetup             | read (0/1), flags, oid                         | -                            |
// | ReplGetPacket         | -                                              | byte block                   |
// | ReplSetPacket         | byte block                                     | -                            |
// | ReplReset             | read (0/1)                                     | oidNew of the write          |
// | ReplDeleteObj         | oid                                            | -                            |
// | ReplQueryInterface    | 16 bytes of an interface identifier            | 1 when the handler itself was answered |
// | ReplReportStatus      | type, code, parameter                          | -                            |
//
// Result words are the provider's own BOOL or HRESULT. Without a handler
// (no connection started) the handler's calls answer E_UNEXPECTED; a type
// with no provider on the device answers FALSE. Every call is journaled on
// the device as a "repl" line: call, result, and what it answered.
namespace vorlan::activesync {
inline constexpr wchar_t kDeviceServiceLibrary[] = L"ReplService";
}
