#pragma once
// The profile page: Config1 (profile 1) and Config2 (profile 2) from one
// design. The objects live for the whole application; their windows are
// made at each opening of the settings window.
#include <string>
#include <vector>

#include "dialogs/child_page_win32.h"
#include "profiles/profile_operations.h"
#include "settings/app_services.h"

namespace orvika2 {

class ProfilePage : public ChildPage {
public:
    // Set before the window is created; the services outlive the window.
    void Attach(AppServices& services) { services_ = &services; }

protected:
    ProfilePage(int templateId, int profile) : ChildPage(templateId), profile_(profile) {}

private:
    BOOL OnInitDialog() override;
    void OnCommand(int control, int notification) override;

    ProfilePageContext Context();
    void OnModeChange();
    void OnAccountSelected();
    void OnApplyTwoStep();
    void OnApplyStatic();
    void OnGenerate();
    void OnImport();
    void OnDelete();
    void OnLeave() override;
    // Message boxes, balloons, refreshes and the backup offer of an outcome.
    void Show(const PageOutcome& outcome);
    HWND Owner() const;

    int profile_;
    AppServices* services_ = nullptr;
    // The token serial read when the page was last initialised; kept
    // between openings.
    std::wstring section_;
    // The account list's entries; custom names last only for one opening.
    std::vector<std::wstring> accounts_;
};

class Config1 final : public ProfilePage {
public:
    Config1();
};

class Config2 final : public ProfilePage {
public:
    Config2();
};

}  // namespace orvika2
