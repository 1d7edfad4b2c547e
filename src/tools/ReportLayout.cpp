#include "tools/ReportLayout.h"

#include "errortrap/Bulwark.h"

#include <QStringList>
#include <algorithm>

namespace {
constexpr const char* kModule = "ReportLayout.cpp";
constexpr int kRowHeight = 240;
} // namespace

namespace ReportLayout {

// Labels end at 1035, so they read as a right-aligned column in front of the field boxes.
const std::array<DetailLabel, 14> kDetailLabels = {{
    {"Account:", {255, 30, 780, 315}},
    {"URL:", {600, 315, 435, 285}},
    {"Login ID:", {255, 645, 780, kRowHeight}},
    {"Password:", {90, 915, 945, kRowHeight}},
    {"Hint:", {585, 1185, 450, kRowHeight}},
    {"Info:", {600, 1455, 435, kRowHeight}},
    {"Key1:", {525, 1710, 510, kRowHeight}},
    {"Text1:", {2925, 1710, 570, kRowHeight}},
    {"Key2:", {525, 2010, 510, kRowHeight}},
    {"Text2:", {2925, 2010, 570, kRowHeight}},
    {"Key3:", {525, 2295, 510, kRowHeight}},
    {"Text3:", {2925, 2295, 570, kRowHeight}},
    {"Key4:", {525, 2580, 510, kRowHeight}},
    {"Text4:", {2925, 2580, 570, kRowHeight}},
}};

const std::array<DetailField, 14> kDetailFields = {{
    {"Account", {1170, 30, 7170, kRowHeight}},
    {"URL", {1170, 315, 7170, kRowHeight}},
    {"IDtext", {1170, 645, 7170, kRowHeight}},
    {"Password", {1170, 915, 7170, kRowHeight}},
    {"HINT", {1170, 1185, 7170, kRowHeight}},
    {"Info", {1170, 1455, 7170, kRowHeight}},
    {"Key1_Name", {1170, 1710, 1695, kRowHeight}},
    {"Key1", {3585, 1710, 4755, kRowHeight}},
    {"Key2_Name", {1170, 2010, 1695, kRowHeight}},
    {"Key2", {3585, 2010, 4755, kRowHeight}},
    {"Key3_Name", {1170, 2295, 1695, kRowHeight}},
    {"Key3", {3585, 2295, 4755, kRowHeight}},
    {"Key4_Name", {1170, 2580, 1695, kRowHeight}},
    {"Key4", {3585, 2580, 4755, kRowHeight}},
}};

QFont fontFor(FontRole role)
{
    BW_TRACE(kModule, "Function fontFor");
    QFont font;
    // Where Arial is not installed, Liberation Sans has the same widths, so the layout holds.
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setStyleHint(QFont::SansSerif);
    // Point sizes times 20 give twips: 8.25 pt = 165, 9.75 pt = 195, 21.75 pt = 435.
    switch (role) {
    case FontRole::Label:
        font.setPixelSize(165);
        font.setBold(true);
        break;
    case FontRole::Field:
        font.setPixelSize(165);
        break;
    case FontRole::Title:
        font.setPixelSize(435);
        font.setItalic(true);
        break;
    case FontRole::Date:
        font.setPixelSize(195);
        font.setUnderline(true);
        break;
    case FontRole::PageLabel:
        font.setPixelSize(165);
        font.setBold(true);
        font.setItalic(true);
        break;
    }
    return font;
}

QString pageLabel(int page, int pages)
{
    BW_TRACE(kModule, "Function pageLabel");
    QString text = QString::fromLatin1(kPageLabel);
    text.replace(QLatin1String("%p"), QString::number(page));
    text.replace(QLatin1String("%P"), QString::number(pages));
    return text;
}

QList<Page> paginate(int recordCount, int bodyHeight)
{
    BW_TRACE(kModule, "Function paginate");
    const int footerTop = bodyHeight - kPageFooterHeight;
    QList<Page> pages;
    Page page;
    int y = 0;
    auto startPage = [&] {
        page.clear();
        y = 0;
        if (pages.isEmpty()) {
            page.append({Band::ReportHeader, y});
            y += kReportHeaderHeight;
        }
        page.append({Band::PageHeader, y});
        y += kPageHeaderHeight;
    };
    auto finishPage = [&] {
        page.append({Band::PageFooter, std::max(footerTop, y)});
        pages.append(page);
    };

    startPage();
    bool pageHasDetail = false;
    for (int record = 0; record < recordCount; ++record) {
        if (pageHasDetail && y + kDetailHeight > footerTop) {
            finishPage();
            startPage();
            pageHasDetail = false;
        }
        page.append({Band::Detail, y, record});
        y += kDetailHeight;
        pageHasDetail = true;
    }
    if (pageHasDetail && y + kReportFooterHeight > footerTop) {
        finishPage();
        startPage();
    }
    page.append({Band::ReportFooter, y});
    y += kReportFooterHeight;
    finishPage();
    return pages;
}

} // namespace ReportLayout
