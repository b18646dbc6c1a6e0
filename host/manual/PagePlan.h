// Where everything of the manual goes, decided before a page is drawn so that
// the contents can give page numbers. The plan follows fixed rules, so the
// number of pages follows from the catalogue alone:
//
//   1 cover
//   + contents pages: one line for the usage chapter, one per usage section,
//     plug-in, Set and Effect, kContentsLinesPerPage lines to a page
//   + kUsagePages pages of how to use the plug-ins
//   + for each plug-in: one opening page, then for each Set
//     max(1, ceil(Effects / EffectsPerPage(Set))) pages.
#pragma once

#include <string>
#include <vector>

#include "host/manual/ManualContent.h"

namespace vhost::manual {

// A4, in points.
constexpr double kPageWidth = 595.276;
constexpr double kPageHeight = 841.89;

constexpr int kEffectsPerPage = 2;
constexpr int kContentsLinesPerPage = 46;
constexpr int kUsagePages = 4;

// The sections of the usage chapter, in order, and the usage page (0 to
// kUsagePages - 1) each starts on.
struct UsageSectionPlace {
    const char* title;
    int usagePage;
};
const std::vector<UsageSectionPlace>& UsageSections();

struct ContentsLine {
    int level = 0;     // 0 chapter or plug-in, 1 section or Set, 2 Effect
    std::string title; // UTF-8
    int page = 0;
};

struct PagePlan {
    int contentsPages = 0;
    int firstContentsPage = 2;
    int firstUsagePage = 0;
    std::vector<int> pluginPages;                           // each plug-in's opening page
    std::vector<std::vector<int>> setPages;                 // each Set's first page
    std::vector<std::vector<std::vector<int>>> effectPages; // each Effect's page
    int pages = 0;                                          // in all
    std::vector<ContentsLine> contents;
};

// A recipe of more steps than this is long: its steps run on in one
// paragraph, and its Set gives each Effect a page of its own.
constexpr size_t kMostStepLines = 12;
bool IsLongRecipe(const EffectWords& words);

// kEffectsPerPage, or 1 for a Set with a long recipe.
int EffectsPerPage(const SetEntry& set);

// Pages a Set takes.
int PagesOfSet(size_t effects, int effectsPerPage = kEffectsPerPage);

PagePlan PlanPages(const ManualContent& content);

} // namespace vhost::manual
