#include <gtest/gtest.h>

#include "model/history.h"
#include "model/polygon_factory.h"

namespace didod {
namespace {

const ViewCentre kCentre = ViewCentreOf(799, 638);

void AddSquare(Construction& c, UndoHistory& h, const char* label = "Quadrat") {
  const auto before = ConstructionSnapshot::Of(c);
  ASSERT_TRUE(AddPolygonForButton(c, PolygonButton::f4, {}, kCentre));
  h.Record(label, before, ConstructionSnapshot::Of(c), false);
}

TEST(UndoHistory, UndoAndRedoRestoreTheExactConstruction) {
  Construction c;
  UndoHistory h;
  AddSquare(c, h);
  c.ScreenPoints[2].Fixed = true;
  c.JoinList = {"2\t7"};
  Construction first = c;
  const auto before = ConstructionSnapshot::Of(c);
  ASSERT_TRUE(AddPolygonForButton(c, PolygonButton::f6, {}, kCentre));
  c.JoinList.push_back("5\t1");
  h.Record("Sechseck", before, ConstructionSnapshot::Of(c), false);
  Construction second = c;

  ASSERT_TRUE(h.Undo(c, kCentre));
  EXPECT_TRUE(c.SameContent(first));
  EXPECT_EQ(c.NetPoints[5], NetPoint{});  // slots beyond the points are cleared
  ASSERT_TRUE(h.Redo(c, kCentre));
  EXPECT_TRUE(c.SameContent(second));
  ASSERT_TRUE(h.Undo(c, kCentre));
  ASSERT_TRUE(h.Undo(c, kCentre));
  EXPECT_EQ(c.FaceCount, 0);
  EXPECT_FALSE(h.Undo(c, kCentre));
  EXPECT_EQ(h.RedoCount(), 2u);
}

TEST(UndoHistory, ScaleRestoredOnlyForStepsThatChangeIt) {
  Construction c;
  UndoHistory h;
  AddSquare(c, h);
  c.Scale = 60.5;  // a zoom is no step
  c.RecomputeScreenPoints(kCentre);
  ASSERT_TRUE(h.Undo(c, kCentre));
  EXPECT_EQ(c.Scale, 60.5);

  AddSquare(c, h);
  const auto before = ConstructionSnapshot::Of(c);
  c.ResetConstruction();  // as a load or a catalogue choice does
  h.Record("Konstruktion laden", before, ConstructionSnapshot::Of(c), true);
  ASSERT_TRUE(h.Undo(c, kCentre));
  EXPECT_EQ(c.Scale, 60.5);
  EXPECT_EQ(c.FaceCount, 1);
  EXPECT_DOUBLE_EQ(c.ScreenPoints[1].x, 399 + 60.5 * 0.5);
  ASSERT_TRUE(h.Redo(c, kCentre));
  EXPECT_EQ(c.Scale, 50.0);
  EXPECT_EQ(c.FaceCount, 0);
}

TEST(UndoHistory, NewActionDropsRedoAndNothingChangedIsNoStep) {
  Construction c;
  UndoHistory h;
  AddSquare(c, h);
  AddSquare(c, h);
  ASSERT_TRUE(h.Undo(c, kCentre));
  EXPECT_TRUE(h.CanRedo());
  AddSquare(c, h, "Dreieck");
  EXPECT_FALSE(h.CanRedo());
  EXPECT_EQ(h.UndoLabel(), "Dreieck");
  const auto same = ConstructionSnapshot::Of(c);
  h.Record("Verschieben", same, same, false);
  EXPECT_EQ(h.UndoCount(), 2u);
}

TEST(UndoHistory, KeepsTheLastHundredSteps) {
  Construction c;
  UndoHistory h;
  for (int k = 0; k < 150; ++k) {
    const auto before = ConstructionSnapshot::Of(c);
    c.JoinList.push_back(std::to_string(k) + "\t1");
    h.Record("Schritt " + std::to_string(k), before, ConstructionSnapshot::Of(c), false);
  }
  EXPECT_EQ(h.UndoCount(), 100u);
  EXPECT_EQ(h.UndoLabel(), "Schritt 149");
  int undone = 0;
  while (h.Undo(c, kCentre)) ++undone;
  EXPECT_EQ(undone, 100);
  EXPECT_EQ(c.JoinList.size(), 50u);  // back to the state before step 50
  EXPECT_EQ(c.JoinList.back(), "49\t1");
}

TEST(UndoHistory, CleanAtTheSavedStateAndWhereverUndoAndRedoLeadBackToIt) {
  Construction c;
  UndoHistory h;
  EXPECT_TRUE(h.IsClean());  // nothing done since start
  AddSquare(c, h);
  EXPECT_FALSE(h.IsClean());
  h.MarkClean();  // saved
  AddSquare(c, h);
  EXPECT_FALSE(h.IsClean());
  ASSERT_TRUE(h.Undo(c, kCentre));
  EXPECT_TRUE(h.IsClean());
  ASSERT_TRUE(h.Undo(c, kCentre));
  EXPECT_FALSE(h.IsClean());
  ASSERT_TRUE(h.Redo(c, kCentre));
  EXPECT_TRUE(h.IsClean());
  // An unchanged action is no step and leaves the mark alone.
  const auto same = ConstructionSnapshot::Of(c);
  h.Record("Verschieben", same, same, false);
  EXPECT_TRUE(h.IsClean());
  // Undo past the mark, then a new step: the saved state cannot come back.
  ASSERT_TRUE(h.Undo(c, kCentre));
  AddSquare(c, h, "Dreieck");
  EXPECT_FALSE(h.IsClean());
  ASSERT_TRUE(h.Undo(c, kCentre));
  EXPECT_FALSE(h.IsClean());
  ASSERT_TRUE(h.Redo(c, kCentre));
  EXPECT_FALSE(h.IsClean());
  h.Clear();
  EXPECT_FALSE(h.IsClean());
  h.MarkClean();
  h.Clear();
  EXPECT_TRUE(h.IsClean());
}

}  // namespace
}  // namespace didod
