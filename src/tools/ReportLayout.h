#pragma once
// The record report's definition and its pagination, in twips (1440 to the inch).
//
// Positions are relative to the top left of their band; bands are placed from the top of the page's
// printable area (inside the 1440-twip margins). Nothing here needs a paint device.
#include <QFont>
#include <QList>
#include <QString>
#include <array>

namespace ReportLayout {

constexpr int kTwipsPerInch = 1440;
constexpr int kMargin = 1440; // on each of the four sides

constexpr int kReportHeaderHeight = 1095;
constexpr int kPageHeaderHeight = 360;
constexpr int kDetailHeight = 3090;
constexpr int kPageFooterHeight = 330;
constexpr int kReportFooterHeight = 450;

struct Box
{
    int left, top, width, height;
};

inline constexpr char kTitle[] = "Accounts Report";
inline constexpr char kPageLabel[] = "Page %p of %P";
inline constexpr char kTotalLabel[] = "Total Accounts:";

// Report header.
constexpr Box kPictureBox{60, 60, 4365, 945};
constexpr Box kTitleBox{4515, 255, 3180, 465};
constexpr Box kDateBox{5310, 765, 1425, 240};
// Page header.
constexpr Box kPageLabelBox{6750, 60, 1710, 240};
// Report footer.
constexpr Box kTotalLabelBox{5685, 75, 1365, 240};
constexpr Box kTotalCountBox{7080, 75, 1440, 240};

enum class FontRole { Label, Field, Title, Date, PageLabel };

// A fixed text of the detail band, or a box bound to a field of the record (found by column name,
// in any letter case).
struct DetailLabel
{
    const char* text;
    Box box;
};
struct DetailField
{
    const char* column;
    Box box;
};
extern const std::array<DetailLabel, 14> kDetailLabels;
extern const std::array<DetailField, 14> kDetailFields;

// The line that closes each record's block.
struct Line
{
    int left, top, length;
};
constexpr Line kClosingLine{225, 2970, 8100};
constexpr int kLineWidth = 15; // one pixel at 96 DPI

// Arial (or the metric-compatible Liberation Sans) at the size and face of the role, sized in
// twips: use it on a painter that draws in twips.
QFont fontFor(FontRole role);

// "Page %p of %P" with both numbers filled in.
QString pageLabel(int page, int pages);

enum class Band { ReportHeader, PageHeader, Detail, ReportFooter, PageFooter };
struct PlacedBand
{
    Band band;
    int top;         // from the top of the printable area
    int record = -1; // for a detail band: the record's position in the report, from 0
};
using Page = QList<PlacedBand>;

// Places the bands for recordCount records on pages whose printable area is bodyHeight twips high:
// the report header once at the top of page 1, the page header at the top of every page, as many
// detail bands as fit above the page footer, the report footer after the last record (on a page of
// its own when it does not fit), and the page footer at the foot of every page. A page too short for
// one detail band still takes one, so the report always ends.
QList<Page> paginate(int recordCount, int bodyHeight);

} // namespace ReportLayout
