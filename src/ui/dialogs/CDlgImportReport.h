#pragma once

#include "hpgl/ImportReport.h"

#include <QDialog>

#include <cstdint>
#include <string>

namespace qv {

// "导入报告": the whole import report of one drawing, to read (and select to copy), with a Close button.
class CDlgImportReport : public QDialog {
    Q_OBJECT

public:
    CDlgImportReport(const std::string& fileName, const ImportReport& report, int32_t language,
                     QWidget* parent = nullptr);
};

} // namespace qv
