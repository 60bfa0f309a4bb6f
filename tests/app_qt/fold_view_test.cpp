#include "app/fold_view.h"

#include <QAction>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

#include "app/main_window.h"
#include "fold/nets.h"

namespace didod {
namespace {

using geo::Vec3;

template <class T>
T* Child(const QObject* parent, const char* name) {
  T* child = parent->findChild<T*>(name);
  EXPECT_NE(child, nullptr) << name;
  return child;
}

QString Verdict(const FoldWindow* w) { return Child<QLabel>(w, "verdict")->text(); }

bool WaitForAnswer(const FoldWindow* w) {
  return QTest::qWaitFor([w] { return !w->checking(); }, 30000);
}

// A fold window on its own, shown, once its answer has come.
std::unique_ptr<FoldWindow> Answered(const Construction& c) {
  std::unique_ptr<FoldWindow> w(new FoldWindow(c));
  w->resize(600, 560);
  w->show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
  EXPECT_TRUE(WaitForAnswer(w.get()));
  return w;
}

QImage Picture(FoldView* view) { return view->grab().toImage(); }

bool IsBackground(const QImage& img, QPointF p) { return img.pixelColor(p.toPoint()) == QColor(255, 255, 255); }

// The face's middle on the picture, at the view's current stage.
QPointF Middle(const FoldView* view, int face) {
  const auto faces = view->faces();
  Vec3 m;
  for (const Vec3& p : faces[face]) m += p / static_cast<double>(faces[face].size());
  return view->project(m);
}

TEST(FoldWindow, OpensAtOnceThenShowsTheFlatNetAndTheClosedCube) {
  const Construction c = testnets::CubeCross();
  std::unique_ptr<FoldWindow> w(new FoldWindow(c));
  // The answer comes through the event queue; until then the window says it is checking.
  ASSERT_TRUE(w->checking());
  EXPECT_EQ(Child<QLabel>(w.get(), "checking")->text(), QString::fromUtf8("Das Netz wird geprüft …"));
  EXPECT_FALSE(Child<QProgressBar>(w.get(), "busy")->isHidden());
  EXPECT_EQ(Child<QPushButton>(w.get(), "cancel")->text(), "Abbrechen");
  EXPECT_FALSE(Child<QSlider>(w.get(), "Faltung")->isEnabled());
  w->resize(600, 560);
  w->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
  EXPECT_EQ(w->windowTitle(), "Netz falten");
  EXPECT_EQ(Child<QLabel>(w.get(), "FaltungLabel")->text(), "Faltung");

  ASSERT_TRUE(WaitForAnswer(w.get()));
  EXPECT_FALSE(Child<QProgressBar>(w.get(), "busy")->isVisible());
  EXPECT_FALSE(Child<QPushButton>(w.get(), "cancel")->isVisible());
  EXPECT_EQ(Verdict(w.get()),
            QString::fromUtf8("Das Netz faltet sich zu einem konvexen Körper mit 6 Flächen, 12 Kanten und 8 Ecken."));
  EXPECT_FALSE(Child<QLabel>(w.get(), "solidCaption")->isVisible());  // one solid: nothing to step through
  QSlider* slider = Child<QSlider>(w.get(), "Faltung");
  EXPECT_EQ(slider->value(), 100);

  slider->setValue(0);
  const QImage flat = Picture(w->view());
  // Every square of the cross is painted; the bay between the arms is not.
  for (int f = 0; f < 6; ++f) EXPECT_FALSE(IsBackground(flat, Middle(w->view(), f))) << "face " << f + 1;
  EXPECT_TRUE(IsBackground(flat, w->view()->project({-0.5, 0.5, 0})));

  slider->setValue(100);
  const QImage closed = Picture(w->view());
  // The closed cube: everything painted lies within the outline of its
  // eight corners and fills most of it.
  QRectF box;
  for (const auto& face : w->view()->faces())
    for (const Vec3& p : face) box = box.united(QRectF(w->view()->project(p), QSizeF(0.01, 0.01)));
  const QRectF margin = box.adjusted(-3, -3, 3, 3);
  int inside = 0, outside = 0;
  for (int y = 0; y < closed.height(); ++y)
    for (int x = 0; x < closed.width(); ++x) {
      if (closed.pixelColor(x, y) == QColor(255, 255, 255)) continue;
      (margin.contains(QPointF(x, y)) ? inside : outside) += 1;
    }
  EXPECT_EQ(outside, 0);
  EXPECT_GT(inside, box.width() * box.height() * 0.6);
  // The cube fits in a box about as wide as high; the cross did not.
  EXPECT_NEAR(box.width() / box.height(), 1.0, 0.35);
}

TEST(FoldWindow, TurnsWithTheMouse) {
  const std::unique_ptr<FoldWindow> w = Answered(testnets::CubeCross());
  FoldView* view = w->view();
  const QImage before = Picture(view);
  const QPointF cornerBefore = view->project({1, 1, 0});
  const QPoint start = view->rect().center();
  QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, start);
  QTest::mouseMove(view, start + QPoint(40, 10));
  QTest::mouseMove(view, start + QPoint(80, 25));
  QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, start + QPoint(80, 25));
  EXPECT_NE(before, Picture(view));
  EXPECT_GT(QLineF(cornerBefore, view->project({1, 1, 0})).length(), 5.0);
  // Moving without the button held turns nothing.
  const QImage still = Picture(view);
  QTest::mouseMove(view, start);
  EXPECT_EQ(still, Picture(view));
}

TEST(FoldWindow, BrokenNetShowsTheReasonAndStaysFlat) {
  Construction c;
  testnets::AddFace(c, testnets::Square(0, 0));
  testnets::AddFace(c, testnets::Square(3, 0));
  const Construction before = c;
  FoldWindow* w = ShowFoldWindow(c, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
  ASSERT_TRUE(WaitForAnswer(w));
  EXPECT_TRUE(Verdict(w).startsWith(QString::fromUtf8("Das ist kein Netz: Das Netz zerfällt in 2 Teile")));
  EXPECT_FALSE(Child<QSlider>(w, "Faltung")->isEnabled());
  const QImage img = Picture(w->view());
  EXPECT_FALSE(IsBackground(img, w->view()->project({0.5, 0.5, 0})));
  EXPECT_FALSE(IsBackground(img, w->view()->project({3.5, 0.5, 0})));
  EXPECT_TRUE(c.SameContent(before));
  w->close();
}

// A net that closes in several ways: each solid can be looked at in turn.
TEST(FoldWindow, StepsThroughEverySolidFound) {
  const std::unique_ptr<FoldWindow> w = Answered(testnets::Icosahedron());
  const FoldResult& r = w->view()->result();
  ASSERT_GE(r.solids.size(), 2u) << r.message;
  const QString count = QString::number(r.solids.size());
  EXPECT_TRUE(Verdict(w.get()).startsWith(QString::fromUtf8("Das Netz faltet sich zu ") + count +
                                          QString::fromUtf8(" verschiedenen Körpern")))
      << Verdict(w.get()).toStdString();
  QLabel* caption = Child<QLabel>(w.get(), "solidCaption");
  QToolButton* previous = Child<QToolButton>(w.get(), "previousSolid");
  QToolButton* next = Child<QToolButton>(w.get(), "nextSolid");
  EXPECT_EQ(caption->text(),
            QString::fromUtf8("Körper 1 von ") + count + QString::fromUtf8(": konvex, 20 Flächen, 30 Kanten und 12 Ecken"));
  EXPECT_FALSE(previous->isEnabled());
  const QImage first = Picture(w->view());
  for (size_t i = 1; i < r.solids.size(); ++i) {
    ASSERT_TRUE(next->isEnabled());
    QTest::mouseClick(next, Qt::LeftButton);
    EXPECT_EQ(w->view()->solid(), i);
    EXPECT_TRUE(caption->text().startsWith(QString::fromUtf8("Körper ") + QString::number(i + 1) + " von " + count));
  }
  EXPECT_FALSE(next->isEnabled());
  EXPECT_NE(Picture(w->view()), first);
  QTest::mouseClick(previous, Qt::LeftButton);
  EXPECT_EQ(w->view()->solid(), r.solids.size() - 2);
}

// The pixel position of point p of the main window's construction.
QPoint At(const Construction& c, int point) {
  return {static_cast<int>(std::lround(c.ScreenPoints[point].x)), static_cast<int>(std::lround(c.ScreenPoints[point].y))};
}

// A face (not face 1) of an even number of corners that shares exactly one
// edge with the others: removing it leaves a net that cannot close and is hard
// to decide.
int LeafFace(const Construction& c) {
  auto same = [](NetPoint a, NetPoint b) { return std::hypot(a.x - b.x, a.y - b.y) < 1e-6; };
  for (int f = c.FaceCount; f > 1; --f) {
    if (c.FaceSizes[f] % 2 != 0) continue;
    const FaceRangeResult r = c.FaceRange(f);
    int shared = 0;
    for (int i = r.first; i <= r.last; ++i) {
      const NetPoint a = c.NetPoints[i], b = c.NetPoints[i == r.last ? r.first : i + 1];
      for (int g = 1; g <= c.FaceCount; ++g) {
        if (g == f) continue;
        const FaceRangeResult q = c.FaceRange(g);
        bool hasA = false, hasB = false;
        for (int j = q.first; j <= q.last; ++j) {
          hasA = hasA || same(a, c.NetPoints[j]);
          hasB = hasB || same(b, c.NetPoints[j]);
        }
        shared += hasA && hasB;
      }
    }
    if (shared == 1) return f;
  }
  return 0;
}

// The main window showing the catalogue's Rhombenikosidodekaeder without a
// leaf face, removed with a right click: a large net that cannot be decided in time.
void ShowBrokenNet(Tfpoly& main) {
  main.resize(1100, 800);
  main.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
  QComboBox* nets = Child<QComboBox>(&main, "Co2");
  nets->setCurrentIndex(nets->findText("Rhombenikosidodekaeder"));
  const Construction& c = main.construction();
  ASSERT_EQ(c.FaceCount, 62);
  const int leaf = LeafFace(c);
  ASSERT_GT(leaf, 0);
  QTest::mouseClick(Child<QWidget>(&main, "PB5"), Qt::RightButton, {}, At(c, c.FaceRange(leaf).first));
  ASSERT_EQ(c.FaceCount, 61);
}

class CountPaints : public QObject {
 public:
  int paints = 0;
  bool eventFilter(QObject*, QEvent* e) override {
    paints += e->type() == QEvent::Paint;
    return false;
  }
};

TEST(FoldWindow, TheMainWindowStaysResponsiveWhileALargeBrokenNetIsChecked) {
  Tfpoly main;
  ShowBrokenNet(main);
  if (::testing::Test::HasFatalFailure()) return;
  const Construction& c = main.construction();
  QWidget* sheet = Child<QWidget>(&main, "PB5");

  // From the menu the window opens at once: the command returns while the check runs.
  Child<QAction>(&main, "MFold")->trigger();
  FoldWindow* fromMenu = main.findChild<FoldWindow*>();
  ASSERT_NE(fromMenu, nullptr);
  EXPECT_TRUE(fromMenu->isVisible());
  EXPECT_TRUE(fromMenu->checking());
  // "Abbrechen" ends the check; what it says then is that it was stopped.
  QTest::mouseClick(Child<QPushButton>(fromMenu, "cancel"), Qt::LeftButton);
  ASSERT_TRUE(WaitForAnswer(fromMenu));
  EXPECT_TRUE(Verdict(fromMenu).contains("abgebrochen")) << Verdict(fromMenu).toStdString();
  EXPECT_EQ(fromMenu->view()->result().stop, FoldStop::Cancelled);
  fromMenu->close();

  // With all the time it wants, the check runs on while the main window repaints,
  // opens its menus and takes a right click that changes the net.
  FoldOptions patient;
  patient.timeBudgetSeconds = 120;
  FoldWindow checking(c, &main, &c, patient);
  checking.show();
  CountPaints counter;
  sheet->installEventFilter(&counter);
  for (int i = 0; i < 5; ++i) {
    sheet->update();
    QTest::qWait(20);
  }
  EXPECT_GT(counter.paints, 0);
  QMenu* menu = Child<QMenu>(&main, "MSolid");
  menu->popup(main.mapToGlobal(QPoint(50, 50)));
  EXPECT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }, 5000));
  menu->hide();
  const int paintsBefore = counter.paints;
  const int other = LeafFace(c);
  ASSERT_GT(other, 0);
  QTest::mouseClick(sheet, Qt::RightButton, {}, At(c, c.FaceRange(other).first));
  EXPECT_EQ(c.FaceCount, 60);
  EXPECT_TRUE(QTest::qWaitFor([&] { return counter.paints > paintsBefore; }, 5000));
  sheet->removeEventFilter(&counter);
  ASSERT_TRUE(checking.checking());

  QTest::mouseClick(Child<QPushButton>(&checking, "cancel"), Qt::LeftButton);
  ASSERT_TRUE(WaitForAnswer(&checking));
  // The answer belongs to the net as it was: it says so.
  EXPECT_TRUE(Verdict(&checking).startsWith(QString::fromUtf8("Das Netz wurde geändert")))
      << Verdict(&checking).toStdString();
  EXPECT_TRUE(Verdict(&checking).contains("abgebrochen"));
}

// A command that needs the answer (the cut-and-fold sheet) waits for it
// without freezing the window: the window takes no input but repaints, and
// after a moment a box offers "Abbrechen".
TEST(FoldWindow, ACommandWaitingForTheCheckLetsTheWindowRepaintAndCanCancel) {
  Tfpoly main;
  ShowBrokenNet(main);
  if (::testing::Test::HasFatalFailure()) return;
  const Construction& c = main.construction();
  QWidget* sheet = Child<QWidget>(&main, "PB5");
  CountPaints counter;
  sheet->installEventFilter(&counter);
  bool disabledMeanwhile = false;
  int ticks = 0;
  QTimer poll;
  poll.setInterval(20);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    ++ticks;
    disabledMeanwhile = disabledMeanwhile || !main.isEnabled();
    sheet->update();
    auto* box = main.findChild<QProgressDialog*>("checkingNet");
    if (box && box->isVisible() && counter.paints > 0) {
      if (auto* cancel = box->findChild<QPushButton*>()) QTest::mouseClick(cancel, Qt::LeftButton);
      poll.stop();
    }
  });
  poll.start();
  const FoldResult r = CheckNetWaiting(c, sheet);
  poll.stop();
  sheet->removeEventFilter(&counter);
  EXPECT_TRUE(disabledMeanwhile);
  EXPECT_TRUE(main.isEnabled());
  EXPECT_GT(counter.paints, 0);
  EXPECT_GT(ticks, 1);
  EXPECT_EQ(r.stop, FoldStop::Cancelled) << r.message;
}

// A cube net laid out by hand on the main window, with mouse events only:
// six squares, each new one dropped corner by corner onto an edge.
TEST(FoldWindow, HandBuiltCubeFoldsIntoACube) {
  Tfpoly w;
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  const Construction& c = w.construction();
  QWidget* sheet = Child<QWidget>(&w, "PB5");
  auto drag = [&](QPoint from, QPoint to) {
    QTest::mousePress(sheet, Qt::LeftButton, {}, from);
    for (int i = 1; i <= 5; ++i) QTest::mouseMove(sheet, from + (to - from) * i / 5);
    QTest::mouseRelease(sheet, Qt::LeftButton, {}, to);
  };
  // Corner k of face f.
  auto corner = [&](int f, int k) { return c.FaceRange(f).first + k % c.FaceSizes[f]; };
  for (int i = 0; i < 6; ++i) {
    QTest::mouseClick(Child<QPushButton>(&w, "f4"), Qt::LeftButton);
    ASSERT_EQ(c.FaceCount, i + 1);
    if (i == 0) continue;
    const int g = i + 1;
    // Faces 2 to 5 round face 1, face 6 beyond face 2: a cross.
    const int a = g <= 5 ? corner(1, g - 2) : corner(2, 2);
    const int b = g <= 5 ? corner(1, g - 1) : corner(2, 3);
    const int u = c.FaceRange(g).first;
    drag(At(c, u), At(c, b));
    drag(At(c, u + 1), At(c, a));
    ASSERT_TRUE(c.ScreenPoints[u + 1].Fixed);
  }
  const Construction before = c;
  Child<QAction>(&w, "MFold")->trigger();
  FoldWindow* fold = w.findChild<FoldWindow*>();
  ASSERT_NE(fold, nullptr);
  ASSERT_TRUE(WaitForAnswer(fold));
  EXPECT_EQ(Verdict(fold),
            QString::fromUtf8("Das Netz faltet sich zu einem konvexen Körper mit 6 Flächen, 12 Kanten und 8 Ecken."));
  const FoldResult& r = fold->view()->result();
  ASSERT_EQ(r.solids.size(), 1u);
  for (const Hinge& h : r.solids[0].hinges) EXPECT_NEAR(h.dihedral, std::numbers::pi / 2, 1e-6);
  fold->close();
  EXPECT_TRUE(c.SameContent(before));
}

}  // namespace
}  // namespace didod
