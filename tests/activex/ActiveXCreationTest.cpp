// Creating the hosted object: class id forms, delayed and immediate creation, the skin
// element, failures, and class modules.
#include "ActiveXFixture.h"

#include "core/DialogBuilder.h"
#include "support/FailingAllocation.h"

#include <optional>

using activextest::CLSID_TestWindowed;
using activextest::CLSID_TestWindowless;
using activextest::LiveTestObjects;
using activextest::Probe;

namespace {

constexpr const wchar_t* kProgId = L"Varnel.TestActiveX";

// Maps the test ProgID to the windowed test object while it lives.
class ProgIdRegistration {
public:
    ProgIdRegistration() {
        const std::wstring clsid = ClassText(CLSID_TestWindowed);
        ok = ::RegSetKeyValueW(
                 HKEY_CLASSES_ROOT, L"Varnel.TestActiveX\\CLSID", nullptr, REG_SZ, clsid.c_str(),
                 static_cast<DWORD>((clsid.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }
    ~ProgIdRegistration() { ::RegDeleteTreeW(HKEY_CLASSES_ROOT, kProgId); }
    bool ok = false;
};

std::wstring TestDirectory() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.rfind(L'\\') + 1);
}

constexpr const wchar_t* kModuleFile = L"activex-test-module.dll";

} // namespace

TEST_F(ActiveXTest, ClassIdTextProgIdAndTheUnresolvable) {
    ProgIdRegistration progId;
    ASSERT_TRUE(progId.ok);
    ProbedActiveX control;
    EXPECT_TRUE(control.CreateControl(ClassText(CLSID_TestWindowless).c_str()));
    EXPECT_EQ(control.GetClisd(), CLSID_TestWindowless);
    EXPECT_TRUE(control.CreateControl(kProgId));
    EXPECT_EQ(control.GetClisd(), CLSID_TestWindowed);
    // Nothing that names no class changes the one stored.
    EXPECT_FALSE(control.CreateControl(GUID_NULL));
    EXPECT_FALSE(control.CreateControl(L"{00000000-0000-0000-0000-000000000000}"));
    EXPECT_FALSE(control.CreateControl(L"Varnel.NoSuchObject"));
    EXPECT_FALSE(control.CreateControl(L"{6B1F3C2A-not-a-class-id}"));
    EXPECT_FALSE(control.CreateControl(static_cast<const wchar_t*>(nullptr)));
    EXPECT_FALSE(control.CreateControl(std::wstring(5000, L'{').c_str()));
    EXPECT_EQ(control.GetClisd(), CLSID_TestWindowed);
    // All of it waited for a layout.
    EXPECT_EQ(Probe().created, 0);
    EXPECT_TRUE(control.IsDelayCreate());
}

TEST_F(ActiveXTest, TheSkinElementCreatesAtFirstLayoutOrAtOnceWhenDelayIsOff) {
    const std::wstring clsid = ClassText(CLSID_TestWindowed);
    SkinUI::CDialogBuilder delayed;
    SkinUI::CControlUI* waiting =
        delayed.Create((L"<Window><ActiveX clsid=\"" + clsid + L"\"/></Window>").c_str());
    ASSERT_NE(waiting, nullptr);
    EXPECT_STREQ(waiting->GetClass(), L"ActiveXUI");
    EXPECT_EQ(waiting->GetInterface(L"ActiveX"), waiting);
    EXPECT_EQ(Probe().created, 0);
    // The attribute after clsid switches the delay off and so creates at once.
    SkinUI::CDialogBuilder immediate;
    SkinUI::CControlUI* now = immediate.Create(
        (L"<Window><ActiveX clsid=\"" + clsid + L"\" delaycreate=\"false\"/></Window>").c_str());
    ASSERT_NE(now, nullptr);
    EXPECT_EQ(Probe().created, 1);
    delete now;
    delete waiting;
    Probe().Reset();

    ProbedActiveX* control = new ProbedActiveX;
    control->SetAttribute(L"clsid", clsid.c_str());
    Host(control);
    EXPECT_EQ(Probe().created, 1);
    EXPECT_TRUE(Notified(L"showactivex"));
    EXPECT_NE(control->GetHostWindow(), nullptr);
    // Later layouts keep the object.
    control->SetPos(RECT{0, 0, 50, 50});
    EXPECT_EQ(Probe().created, 1);
}

TEST_F(ActiveXTest, ImmediateCreationInAHostedTree) {
    Host();
    ProbedActiveX* control = Add(new ProbedActiveX);
    control->SetDelayCreate(false);
    EXPECT_TRUE(control->CreateControl(CLSID_TestWindowless));
    EXPECT_EQ(Probe().created, 1);
    EXPECT_TRUE(Probe().Called(L"DoVerb"));
    // Turning the delay off with a pending class creates it.
    ProbedActiveX* pending = Add(new ProbedActiveX);
    pending->CreateControl(CLSID_TestWindowed);
    EXPECT_EQ(Probe().created, 1);
    pending->SetDelayCreate(false);
    EXPECT_EQ(Probe().created, 2);
    IOleObject* object = nullptr;
    EXPECT_EQ(pending->GetControl(IID_IOleObject, reinterpret_cast<void**>(&object)), S_OK);
    object->Release();
}

TEST_F(ActiveXTest, GetControlAnswersOnlyWithAnObject) {
    ProbedActiveX control;
    IOleObject* object = nullptr;
    EXPECT_EQ(control.GetControl(IID_IOleObject, nullptr), E_POINTER);
    EXPECT_EQ(control.GetControl(IID_IOleObject, reinterpret_cast<void**>(&object)), E_PENDING);
    EXPECT_EQ(object, nullptr);
}

TEST_F(ActiveXTest, CreationStandsOrFallsWithTheActivation) {
    Host();
    Probe().failSetSite = true; // optional: the object still counts as created
    ProbedActiveX* control = Add(new ProbedActiveX);
    control->CreateControl(CLSID_TestWindowless);
    EXPECT_TRUE(control->Create());
    EXPECT_TRUE(Probe().Called(L"SetSite"));
    control->forgetCreation = true; // still no retry after a failure

    for (int failure = 0; failure < 3; ++failure) {
        Probe().Reset();
        Probe().failActivation = failure == 0;
        Probe().failInitNew = failure == 1;
        std::optional<skintest::FailingAllocations> noMemory; // for the site
        if (failure == 2) noMemory.emplace();
        EXPECT_FALSE(control->Create());
        if (noMemory) {
            EXPECT_EQ(noMemory->Refused(), 1);
        }
        noMemory.reset();
        // A failed creation leaves nothing hosted and is not retried by layouts.
        IOleObject* object = nullptr;
        EXPECT_EQ(control->GetControl(IID_IOleObject, reinterpret_cast<void**>(&object)),
                  E_PENDING);
        EXPECT_EQ(control->Site(), nullptr);
        EXPECT_EQ(LiveTestObjects(), 0);
        EXPECT_TRUE(control->Created());
        control->SetPos(RECT{0, 0, 10, 10});
        EXPECT_EQ(Probe().created, 1);
    }
}

TEST_F(ActiveXTest, AClassModuleIsLoadedForItsObjectAndFreedWithIt) {
    Host();
    const std::wstring module = TestDirectory() + kModuleFile;
    ProbedActiveX* control = Add(new ProbedActiveX);
    control->SetModuleName(module.c_str());
    EXPECT_EQ(control->GetModuleName(), module.c_str());
    control->CreateControl(CLSID_TestWindowed);
    EXPECT_TRUE(control->Create());
    EXPECT_EQ(Probe().created, 0); // made by the module, not by the registered class
    EXPECT_NE(::GetModuleHandleW(kModuleFile), nullptr);
    EXPECT_NE(control->GetHostWindow(), nullptr);
    control->Release();
    EXPECT_EQ(::GetModuleHandleW(kModuleFile), nullptr);

    // A class the module does not serve, or a module that is missing, comes from the
    // registered classes.
    control->CreateControl(CLSID_TestWindowless);
    EXPECT_TRUE(control->Create());
    EXPECT_EQ(Probe().created, 1);
    EXPECT_EQ(::GetModuleHandleW(kModuleFile), nullptr);
    control->SetModuleName((TestDirectory() + L"missing.dll").c_str());
    EXPECT_TRUE(control->Create());
    EXPECT_EQ(Probe().created, 2);
    EXPECT_EQ(LiveTestObjects(), 1); // the new object replaced the old one
}
