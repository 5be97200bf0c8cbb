#pragma once

// The process-wide access point to the platform's visual-style service. This
// platform has no such service, so the helper reports that no visual style is in
// force and every self-painted button uses the classic look.
class CXThemeHelper {
public:
    static const CXThemeHelper& Instance();

    bool IsThemeActive() const { return false; }

private:
    CXThemeHelper() = default;
};
