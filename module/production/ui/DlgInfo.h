#pragma once
// A read-only report of lines with one close button.
#include <host/DlgInfoData.h>
#include <ui/Dialog.h>

class DlgInfo : public ui::Dialog {
public:
    enum { IDD = 8123, IDC_LABEL = 9080, IDC_LINES = 9081 };
    explicit DlgInfo(const DlgInfoData& data, ui::Window* parent = nullptr)
        : ui::Dialog(IDD, parent)
        , m_data(data) {}

protected:
    bool onInitDialog() override;

private:
    DlgInfoData m_data;
};

/// Shows the report modally.
void ExportStartDlgInfo(const DlgInfoData& data, ui::Window* parent = nullptr);
