// What a screen reader is told about the fields: their accessible objects, asked for as
// an assistive program asks for them (AccessibleObjectFromWindow), and their names.
#include "app/win32/frmMain.h"
#include "controls/win32/accessible_name.h"
#include "controls/win32/text.h"
#include "main_window_fixture.h"
#include "test_support.h"
#include "tools/accessible_read.h"

#include <gtest/gtest.h>
#include <oleacc.h>

#include <string>

namespace {

using namespace testing_support;

using testing_tools::AccessibleNameOf;

TEST(Accessibility, EveryFieldIsNamedByItsLabelOrAsItsPagesResult) {
    for (const char* stored : {static_cast<const char*>(nullptr), "1:1:0:22:1:0"}) {
        const bool metric = stored == nullptr;
        SCOPED_TRACE(metric ? "metric" : "imperial");
        Ortelia o(stored);
        auto& m = o.main;
        const struct {
            calc::NumberField& field;
            const char* name;
        } fields[] = {
            {m.txtFormula1[0], "Degrees"},
            {m.txtFormula1[1], "Radius"},
            {m.txtFormula1[2], "CP Length result"},
            {m.txtFormula2[0], "g Vertical"},
            {m.txtFormula2[1], "g Lateral"},
            {m.txtFormula2[2], "0g Banking result"},
            {m.txtFormula3[0], "Cars per Train"},
            {m.txtFormula3[1], "Rows per Car"},
            {m.txtFormula3[2], "Station Length result"},
            {m.txtFormula4[0], metric ? "Kmph" : "Mph"},
            {m.txtFormula4[1], "g Acceleration"},
            {m.txtFormula4[2], "LIM Length result"},
            {m.txtFormula5a[0], "m"},
            {m.txtFormula5a[1], "f"},
            {m.txtFormula5b[0], "Kmph"},
            {m.txtFormula5b[1], "Mph"},
        };
        for (const auto& f : fields)
            EXPECT_EQ(AccessibleNameOf(f.field.Handle()), f.name)
                << "group " << f.field.Group() << " index " << f.field.Index();
    }
}

TEST(Accessibility, TheSpeedFieldsNameFollowsTheUnitsAsTheyChange) {
    Ortelia o;
    const HWND speed = o.main.txtFormula4[0].Handle();
    EXPECT_EQ(AccessibleNameOf(speed), "Kmph");
    // The name is read when asked, so it follows the label.
    SetWindowTextW(o.main.lblKmph, L"Mph");
    EXPECT_EQ(AccessibleNameOf(speed), "Mph");
}

TEST(Accessibility, TheRestOfTheStandardObjectIsKept) {
    Ortelia o;
    IAccessible* object = nullptr;
    ASSERT_TRUE(SUCCEEDED(
        AccessibleObjectFromWindow(o.main.txtFormula1[1].Handle(), static_cast<DWORD>(OBJID_CLIENT),
                                   controls::kIidAccessible, reinterpret_cast<void**>(&object))));
    ASSERT_NE(object, nullptr);
    // The object still stands for the field's window, where the system locates it.
    HWND window = nullptr;
    EXPECT_TRUE(SUCCEEDED(WindowFromAccessibleObject(object, &window)));
    EXPECT_EQ(window, o.main.txtFormula1[1].Handle());
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    long left = 0, top = 0, width = 0, height = 0;
    EXPECT_TRUE(SUCCEEDED(object->accLocation(&left, &top, &width, &height, self)));
    RECT r; // the client object covers the field's client area, inside its border
    GetClientRect(o.main.txtFormula1[1].Handle(), &r);
    MapWindowPoints(o.main.txtFormula1[1].Handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(left, r.left);
    EXPECT_EQ(top, r.top);
    EXPECT_EQ(width, r.right - r.left);
    EXPECT_EQ(height, r.bottom - r.top);
    object->Release();
    // Labels keep the system's own object, which names them by their text.
    EXPECT_EQ(AccessibleNameOf(o.main.lblFormula4extra), "2.49 sec");
}

TEST(Accessibility, TheDialogsOffsetBoxesSayWhichOffsetTheyHold) {
    Ortelia o;
    std::string names[2];
    WhenReady look([] { return FindWindowW(nullptr, L"Ortelia Settings...") != nullptr; },
                   [&names] {
                       const HWND dialog = FindWindowW(nullptr, L"Ortelia Settings...");
                       const HWND x = FindWindowExW(dialog, nullptr, L"Edit", nullptr);
                       const HWND y = FindWindowExW(dialog, x, L"Edit", nullptr);
                       names[0] = AccessibleNameOf(x);
                       names[1] = AccessibleNameOf(y);
                       SendMessageW(dialog, WM_CLOSE, 0, 0);
                   });
    o.main.mnuSettings_Click();
    ASSERT_TRUE(look.Ran());
    EXPECT_EQ(names[0], "Horizontal offset");
    EXPECT_EQ(names[1], "Vertical offset");
}

} // namespace
