#include "model/results/page_metafiles.h"

#include "framework/messages.h"
#include "platform/cp932.h"
#include "platform/files.h"

namespace app {

using platform::J;

// ---- Names and sizes

std::string PageMetafileSuffix(int page, int yearNumber, int graph) {
  switch (page) {
    case 1:
      if (yearNumber < 1 || yearNumber > kYearCount) return std::string();
      return "(1-" + std::to_string(1980 + yearNumber) + ").EMF";
    case 2:
    case 3:
      return "(" + std::to_string(page) + ").EMF";
    case 4:
      if (graph < 1 || graph > 4) return std::string();
      return "(4-" + std::to_string(graph) + ").EMF";
    case 5:
      return "(5).EMF";
    default:
      return std::string();
  }
}

std::string FrequencyMetafileSuffix(int frequencyYear) { return "(5-" + std::to_string(frequencyYear) + ").EMF"; }

std::string MetafileName(const std::string& resultPrefix, const Screen3Data& data) {
  const std::string suffix = PageMetafileSuffix(data.page, data.yearNumber, data.graph);
  return suffix.empty() ? std::string() : resultPrefix + suffix;
}

namespace {

// The page table: the metafile size and the on-screen image size after saving.
struct PageSizes {
  PictureSize metafile, image;
};

PageSizes SizesOf(int page, bool frequencyPanelShown) {
  switch (page) {
    case 1:
    case 2:
    case 3:
      return {{700, 210}, {778, 196}};
    case 4:
      return {{350, 360}, {350, 360}};
    case 5:
      return frequencyPanelShown ? PageSizes{{340, 300}, {337, 315}} : PageSizes{{700, 400}, {782, 405}};
    default:
      return {};
  }
}

}  // namespace

PictureSize PageMetafileSize(int page, bool frequencyPanelShown) { return SizesOf(page, frequencyPanelShown).metafile; }

PictureSize PageImageSize(int page, bool frequencyPanelShown) { return SizesOf(page, frequencyPanelShown).image; }

std::vector<std::string> ReportMetafileNames(const std::string& resultPrefix, const Screen3Data& data) {
  std::vector<std::string> names;
  for (int k = 1; k <= 3; ++k) {
    const std::string suffix = PageMetafileSuffix(1, data.representative[k], 0);
    if (!suffix.empty()) names.push_back(resultPrefix + suffix);
  }
  names.push_back(resultPrefix + PageMetafileSuffix(2, 0, 0));
  names.push_back(resultPrefix + PageMetafileSuffix(3, 0, 0));
  for (int g = 1; g <= 4; ++g) names.push_back(resultPrefix + PageMetafileSuffix(4, 0, g));
  names.push_back(resultPrefix + PageMetafileSuffix(5, 0, 0));
  return names;
}

// ---- Making the report set

std::array<int, 4> RepresentativeYears{};

std::vector<ReportMetafileStep> ReportMetafileSteps(const std::array<int, 4>& representative) {
  if (representative[1] == 0 || representative[2] == 0 || representative[3] == 0) return {};
  std::vector<ReportMetafileStep> steps;
  for (size_t r = 1; r <= 3; ++r) steps.push_back({1, representative[r], 0});
  steps.push_back({2, 0, 0});
  steps.push_back({3, 0, 0});
  for (int g = 1; g <= 4; ++g) steps.push_back({4, 0, g});
  steps.push_back({5, 0, 0});
  return steps;
}

bool ReportMetafilesComplete(const std::string& resultPrefix) {
  return platform::FileExists(resultPrefix + PageMetafileSuffix(5, 0, 0));
}

bool MakeReportMetafiles(const std::vector<ReportMetafileStep>& steps, ReportMetafileMaker& maker) {
  fw::MsgDialog(J("事前に報告書用のメタファイルを作成します。"), 1, 1);
  fw::ShowStatus(J("報告書用メタファイル作成中．．．"));
  maker.Prepare();
  for (const ReportMetafileStep& step : steps) {
    maker.Show(step);
    if (!maker.Write()) return false;
  }
  fw::ShowStatus(J("〔報告書用メタファイル作成完了〕"));
  fw::MsgDialog(J("報告書用のメタファイルを作成しました。"), 1, 1);
  return true;
}

}  // namespace app
