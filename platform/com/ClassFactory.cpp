#include "ClassFactory.h"

#include "ComObject.h"

namespace vorlan::com {
namespace {

class ClassFactory : public ComObjectRoot, public IClassFactory {
public:
    explicit ClassFactory(CreateFunction create) : create_(create) {}

    void* FindInterface(REFIID iid) { return FindInterfaceOf<IClassFactory>(this, iid); }

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        return create_(outer, iid, out);
    }

    STDMETHODIMP LockServer(BOOL lock) override {
        if (lock)
            ComModule::Instance().Lock();
        else
            ComModule::Instance().Unlock();
        return S_OK;
    }

private:
    CreateFunction create_;
};

}  // namespace

HRESULT CreateClassFactory(CreateFunction create, REFIID iid, void** out) {
    return ComObject<ClassFactory>::Create(nullptr, iid, out, create);
}

}  // namespace vorlan::com
