// "Körper importieren …": a 3-D file becomes a net on the sheet.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/application.h"
#include "app/fold_view.h"
#include "app/main_window.h"
#include "app/solid_export.h"
#include "unfold/import.h"
#include "fold/fold.h"
#include "window_support.h"

namespace didod {
namespace {

using testing::OnNextModal;

// A cube of edge 2 given as twelve triangles.
const char* const kTriangulatedCube =
    "OFF\n8 12 0\n"
    "0 0 0\n2 0 0\n2 2 0\n0 2 0\n0 0 2\n2 0 2\n2 2 2\n0 2 2\n"
    "3 0 2 1\n3 0 3 2\n3 4 5 6\n3 4 6 7\n3 0 1 5\n3 0 5 4\n"
    "3 1 2 6\n3 1 6 5\n3 2 3 7\n3 2 7 6\n3 3 0 4\n3 3 4 7\n";

class ImportWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(dir.isValid());
  }
  QString Write(const QString& name, const QByteArray& bytes) {
    const QString path = QDir(dir.path()).filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
  }
  // Answers the import dialog with the path, typed into its name field.
  void AnswerImportDialog(const QString& path) {
    OnNextModal([path](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      ASSERT_NE(dialog, nullptr);
      EXPECT_EQ(dialog->objectName(), "SolidImportDialog");
      EXPECT_TRUE(dialog->nameFilters().constFirst().contains("*.stl"));
      if (auto* name = dialog->findChild<QLineEdit*>("fileNameEdit")) name->setText(path);
      else dialog->selectFile(path);
      static_cast<QDialog*>(dialog)->accept();
    });
  }
  QTemporaryDir dir;
  Tfpoly window;
};

TEST_F(ImportWindowTest, ATriangulatedCubeBecomesANetOfSixSquaresAsOneStep) {
  auto* action = testing::Control<QAction>(window, "MImportSolid");
  EXPECT_EQ(action->text(), "Körper &importieren …");
  EXPECT_EQ(action->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_I));
  AnswerImportDialog(Write("würfel.off", kTriangulatedCube));
  action->trigger();
  const Construction& c = window.construction();
  EXPECT_EQ(c.FaceCount, 6);
  EXPECT_EQ(c.PointCount, 24);
  EXPECT_EQ(c.JoinList.size(), 10u);
  EXPECT_EQ(window.history().UndoLabel(), "Körper würfel");
  // The net check folds it into a cube.
  const FoldResult folded = FoldNet(c);
  EXPECT_EQ(folded.verdict, FoldResult::Verdict::Convex) << folded.message;
  ASSERT_FALSE(folded.solids.empty());
  EXPECT_EQ(folded.solids.front().vertices, 8);
  EXPECT_EQ(folded.solids.front().edges, 12);
  window.Undo();
  EXPECT_EQ(window.construction().FaceCount, 0);
}

TEST_F(ImportWindowTest, ABadFileIsNamedWithItsFaultAndChangesNothing) {
  ASSERT_TRUE(window.ImportSolidFile(Write("würfel.off", kTriangulatedCube)));
  const std::vector<NetPoint> before(window.construction().NetPoints.begin(),
                                  window.construction().NetPoints.begin() + window.construction().PointCount + 1);
  const std::string undo = window.history().UndoLabel();
  // One triangle missing. The construction counts as changed, so the save question comes first.
  QByteArray open(kTriangulatedCube);
  open.replace("8 12 0", "8 11 0");
  open.chop(QByteArray("3 3 4 7\n").size());
  const QString path = Write("offen.off", open);
  QString question, shown;
  OnNextModal([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    question = box->text();
    OnNextModal([&](QWidget* modal) {
      auto* error = qobject_cast<QMessageBox*>(modal);
      ASSERT_NE(error, nullptr);
      shown = error->text();
      error->accept();
    });
    for (QAbstractButton* b : box->buttons())
      if (b->text() == "&Verwerfen") QTest::mouseClick(b, Qt::LeftButton);
  });
  RunHandler([&] { window.ImportSolidFile(path); });
  EXPECT_EQ(question, QString::fromUtf8(kReplaceQuestion));
  EXPECT_EQ(shown, "„offen.off“ ist nicht geschlossen: 3 Kanten gehören nur zu einer Fläche.");
  EXPECT_EQ(window.construction().FaceCount, 6);
  EXPECT_EQ(window.history().UndoLabel(), undo);
  for (int i = 1; i <= window.construction().PointCount; ++i) {
    EXPECT_EQ(window.construction().NetPoints[i].x, before[i].x);
    EXPECT_EQ(window.construction().NetPoints[i].y, before[i].y);
  }
}

// The fold window saves the solid it shows, its longest edge as long as the
// cut-and-fold sheet's.
TEST_F(ImportWindowTest, TheFoldedSolidIsExportedAtTheSheetsEdgeLength) {
  ASSERT_TRUE(window.ImportSolidFile(Write("würfel.off", kTriangulatedCube)));
  FoldWindow* fold = ShowFoldWindow(window.construction(), &window);
  fold->setTrueEdgeLength(35);
  auto* exportButton = fold->findChild<QPushButton*>("exportSolid");
  ASSERT_NE(exportButton, nullptr);
  EXPECT_FALSE(exportButton->isEnabled());  // while the net is being checked
  ASSERT_TRUE(QTest::qWaitFor([fold] { return !fold->checking(); }, 30000));
  ASSERT_TRUE(exportButton->isEnabled());
  const QString path = QDir(dir.path()).filePath("gefaltet.stl");
  OnNextModal([path](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->objectName(), "SolidExportDialog");
    if (auto* name = dialog->findChild<QLineEdit*>("fileNameEdit")) name->setText(path);
    else dialog->selectFile(path);
    static_cast<QDialog*>(dialog)->accept();
  });
  QTest::mouseClick(exportButton, Qt::LeftButton);
  QFile written(path);
  ASSERT_TRUE(written.open(QIODevice::ReadOnly));
  const QByteArray bytes = written.readAll();
  const unfold::Polyhedron back = unfold::ImportSolid(
      std::span(reinterpret_cast<const unsigned char*>(bytes.constData()), bytes.size()), "gefaltet.stl");
  EXPECT_EQ(back.faces.size(), 6u);
  EXPECT_EQ(back.vertices.size(), 8u);
  const auto [shortest, longest] = unfold::EdgeLengthRange(back);
  EXPECT_NEAR(shortest, 35, 1e-4);
  EXPECT_NEAR(longest, 35, 1e-4);

  // Every format by its extension; glTF as its binary form.
  const std::vector<std::vector<geo::Vec3>>& faces = fold->view()->result().solids.front().corners;
  for (const char* name : {"k.obj", "k.off", "k.glb"}) {
    const std::string file = QDir(dir.path()).filePath(name).toStdString();
    WriteFoldedSolid(faces, 20, file);
    QFile f(QString::fromStdString(file));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name;
    const QByteArray got = f.readAll();
    if (std::string(name) == "k.glb") {
      EXPECT_TRUE(got.startsWith("glTF"));
      continue;
    }
    const unfold::Polyhedron p = unfold::ImportSolid(
        std::span(reinterpret_cast<const unsigned char*>(got.constData()), got.size()), name);
    EXPECT_EQ(p.faces.size(), 6u) << name;
    EXPECT_NEAR(unfold::EdgeLengthRange(p).second, 20, 1e-4) << name;
  }
  EXPECT_THROW(WriteFoldedSolid(faces, 20, QDir(dir.path()).filePath("k.txt").toStdString()), std::runtime_error);
  fold->close();
}

}  // namespace
}  // namespace didod
