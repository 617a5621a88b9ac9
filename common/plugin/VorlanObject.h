#pragma once
// CVorlanT: the synchroniser object of a plug-in (IVorlan). It owns its
// engine (an IMySync) for its whole life and forwards every call to it
// under the plug-in's own module state. Errors the engine reports are set
// as the thread's COM error information, so IVorlan supports error info.
#include <windows.h>
#include <ole2.h>

#include "ComCall.h"
#include "ComObject.h"
#include "DispatchImpl.h"
#include "ModuleState.h"
#include "SupportErrorInfo.h"
#include "vorlan.h"

namespace vorlan {

// How Init and PerformTransfer answer: the engine's result unchanged, or
// S_OK whatever it was (the core's own component table, whose failures are
// reported by the engine itself and must not stop its host).
enum class EngineResult { Forward, AlwaysSucceed };

template <class Engine, EngineResult kResult = EngineResult::Forward>
class CVorlanT : public com::ComObjectRoot,
                 public com::DispatchImpl<IVorlan>,
                 public com::SupportErrorInfoImpl<IVorlan> {
public:
    void* FindInterface(REFIID iid) {
        return com::FindInterfaceOf<IVorlan, com::Via<IDispatch, IVorlan>, ISupportErrorInfo>(
            this, iid);
    }

    STDMETHODIMP Init() override {
        return Call([&] { return Outcome(engine_.Init()); });
    }
    STDMETHODIMP PerformTransfer(IInfoNode* pIInfoNode) override {
        return Call([&] { return Outcome(engine_.PerformTransfer(pIInfoNode)); });
    }
    STDMETHODIMP get_RegInfoKey(BSTR* pVal) override {
        return Call([&] { return engine_.get_RegInfoKey(pVal); });
    }
    STDMETHODIMP put_RegInfoKey(BSTR newVal) override {
        return Call([&] { return engine_.put_RegInfoKey(newVal); });
    }
    STDMETHODIMP get_ParentUrl(BSTR* pVal) override {
        return Call([&] { return engine_.get_ParentUrl(pVal); });
    }
    STDMETHODIMP put_ParentUrl(BSTR newVal) override {
        return Call([&] { return engine_.put_ParentUrl(newVal); });
    }

protected:
    Engine& engine() { return engine_; }

private:
    template <class Body>
    static HRESULT Call(Body&& body) {
        ModuleStateGuard state(com::ComModule::Instance().Handle());
        return com::ComCall(body);
    }
    static HRESULT Outcome(HRESULT hr) {
        return kResult == EngineResult::AlwaysSucceed ? S_OK : hr;
    }

    Engine engine_;
};

}  // namespace vorlan
