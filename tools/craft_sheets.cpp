// Writes cut-and-fold sheets of catalogue nets as PDF and SVG into a folder and
// prints, per net, its pages, tabs, glued pairs left without a tab and its
// mountain and valley folds, with the totals at the end.
//
//   didod_craft_sheets FOLDER [--edge MM] [--paper A4|A3|Letter] [--inside]
//                      [--numbers] [--colours] [NAME ...]
//
// Without --edge the nets are as large as fits one page; without names every
// net of the catalogue is written.
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "craft/fold_gluing.h"
#include "craft/sheet.h"
#include "output/craft_writer.h"
#include "persistence/catalogue.h"

namespace {

using namespace didod;

std::string FileName(const std::string& name) {
  std::string s;
  for (char ch : name) s += (ch == ' ' || ch == '/') ? '_' : ch;
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s FOLDER [--edge MM] [--paper A4|A3|Letter] [--inside] [--numbers] [--colours] "
                         "[NAME ...]\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  craft::CraftOptions options;
  options.edgeLength = 0.0;
  std::vector<std::string> names;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--edge" && i + 1 < argc) {
      options.edgeLength = std::atof(argv[++i]);
    } else if (arg == "--paper" && i + 1 < argc) {
      const std::string paper = argv[++i];
      options.paper = paper == "A3" ? craft::Paper::A3 : paper == "Letter" ? craft::Paper::Letter : craft::Paper::A4;
    } else if (arg == "--inside") {
      options.printInside = true;
    } else if (arg == "--numbers") {
      options.edgeNumbers = options.faceNumbers = true;
    } else if (arg == "--colours") {
      options.faceColours = true;
    } else {
      names.push_back(arg);
    }
  }
  std::vector<std::string> lines;
  LoadListFromResource(lines, "konetz");
  if (names.empty()) names = CatalogueNames(lines);

  int totalPairs = 0, totalLeftOut = 0, totalTabs = 0, failed = 0;
  std::printf("%-36s %5s %5s %5s %8s %8s %6s\n", "net", "pages", "pairs", "tabs", "left out", "mountain", "valley");
  for (const std::string& name : names) {
    const auto net = ReadCatalogueNet(lines, name, ViewCentre{400, 300});
    if (!net) {
      std::printf("%-36s not in the catalogue\n", name.c_str());
      ++failed;
      continue;
    }
    FoldOptions foldOptions;
    foldOptions.timeBudgetSeconds = 60.0;
    const craft::SheetFolding folding = craft::SheetFoldingOf(FoldNet(*net, foldOptions));
    if (!folding.folds) {
      std::printf("%-36s %s\n", name.c_str(), folding.message.c_str());
      ++failed;
      continue;
    }
    options.title = name;
    try {
      const craft::CraftSheet sheet = craft::LayoutCraftSheet(*net, folding.hinges, folding.gluings, options);
      const std::string base = folder + "/" + FileName(name);
      WriteCraftPdf(sheet, base + ".pdf");
      WriteCraftSvg(sheet, base + ".svg");
      int mountain = 0, valley = 0;
      for (const craft::SheetLine& line : sheet.net.lines) {
        mountain += line.kind == craft::LineKind::Mountain;
        valley += line.kind == craft::LineKind::Valley;
      }
      const int pairs = static_cast<int>(folding.gluings.size());
      const int leftOut = static_cast<int>(sheet.net.untabbed.size()) / 2;
      totalPairs += pairs;
      totalLeftOut += leftOut;
      totalTabs += static_cast<int>(sheet.net.tabs.size());
      std::printf("%-36s %5zu %5d %5zu %8d %8d %6d\n", name.c_str(), sheet.pages.size(), pairs, sheet.net.tabs.size(),
                  leftOut, mountain, valley);
    } catch (const std::exception& e) {
      std::printf("%-36s %s\n", name.c_str(), e.what());
      ++failed;
    }
  }
  std::printf("%zu nets, %d glued pairs, %d tabs, %d pairs left without a tab, %d nets not written\n", names.size(),
              totalPairs, totalTabs, totalLeftOut, failed);
  return failed == 0 ? 0 : 1;
}
