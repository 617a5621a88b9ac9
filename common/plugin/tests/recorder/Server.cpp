// Recorder: a plug-in that journals every call, for the tests of hosts.
#include "ComServer.h"
#include "ItemDialog.h"
#include "RecorderEngine.h"
#include "VorlanObject.h"
#include "VorlanProperties.h"
#include "recorder.h"

namespace vorlan {
namespace {

const char* const kFields[] = {"Name", "Value", "Fail"};

const PluginDescription kRecorder = {
    "Recorder.Vorlan", "RecorderSync", kFields, 3, 3, 103, 104, 201, 201, &recorder::ShowItemDialog,
};

using CRecorderVorlan = CVorlanT<recorder::CRecorderEngine>;
using CRecorderProperties = CVorlanPropertiesT<kRecorder>;

const com::ComClass kClasses[] = {
    {&CLSID_Vorlan, "Recorder.Vorlan", "Vorlan Class", &com::ComObject<CRecorderVorlan>::Create<>},
    {&CLSID_VorlanProperties, "Recorder.VorlanProperties", "VorlanProperties Class",
     &com::ComObject<CRecorderProperties>::Create<>},
};

}  // namespace

const com::ComServer com::g_server = {&LIBID_RECORDERLib, 1, 0, kClasses, 2, nullptr, nullptr};

}  // namespace vorlan
