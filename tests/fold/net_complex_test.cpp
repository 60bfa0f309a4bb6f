#include "fold/net_complex.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "fold/fold.h"
#include "nets.h"

namespace didod {
namespace {

using namespace testnets;
using foldnet::NetComplex;

// Builds the complex; false with the reason when it is refused.
bool Build(const Construction& c, double tol, NetComplex& net, std::string& reason, bool joinsOnly = false) {
  const foldnet::Built built = foldnet::BuildNetComplex(c, tol, net, joinsOnly);
  reason = built.reason;
  EXPECT_EQ(built.hole, reason.find("Loch") != std::string::npos) << reason;
  return built.ok;
}

TEST(NetComplex, CubeCrossHasFiveHingesAndFourteenFreeEdges) {
  NetComplex net;
  std::string reason;
  ASSERT_TRUE(Build(CubeCross(), 1e-6, net, reason)) << reason;
  EXPECT_EQ(net.hinges.size(), 5u);
  ASSERT_EQ(net.edges.size(), 14u);
  ASSERT_EQ(net.points.size(), 14u);
  // The outline gathers all corners: 6 squares of 4 right angles.
  double total = 0;
  int corners = 0;
  for (const auto& p : net.points) {
    total += p.angle;
    corners += p.corners;
  }
  EXPECT_NEAR(total, 12 * std::numbers::pi, 1e-9);
  EXPECT_EQ(corners, 24);
  // The outline is closed: edge i ends where edge i + 1 starts.
  for (size_t i = 0; i < net.edges.size(); ++i) {
    const auto& e = net.edges[i];
    const auto& face = net.faces[e.edge.face];
    const int end = face.vertex[(e.edge.k + 1) % face.p.size()];
    EXPECT_EQ(end, net.points[(i + 1) % net.points.size()].vertex);
    EXPECT_NEAR(e.length, 1.0, 1e-12);
  }
}

TEST(NetComplex, ClockwiseFacesAreTurnedAndEdgesKeepTheirOwnNumbers) {
  Construction c;
  AddFace(c, {{0, 0}, {0, 1}, {1, 1}, {1, 0}});  // clockwise
  AddFace(c, Square(1, 0));
  NetComplex net;
  std::string reason;
  ASSERT_TRUE(Build(c, 1e-6, net, reason)) << reason;
  ASSERT_EQ(net.hinges.size(), 1u);
  const EdgeRef a = net.Ref(net.hinges[0].a), b = net.Ref(net.hinges[0].b);
  // Face 1's own edge from corner 2 (1,1) to corner 3 (1,0); face 2's edge 3 -> 0.
  const EdgeRef first = a.face == 1 ? a : b, second = a.face == 1 ? b : a;
  EXPECT_EQ(first, (EdgeRef{1, 2}));
  EXPECT_EQ(second, (EdgeRef{2, 3}));
}

TEST(NetComplex, JoinedPointsCountAsOneEvenWhenSlightlyApart) {
  Construction c;
  AddFace(c, Square(0, 0));
  AddFace(c, {{1.0005, 0}, {2, 0}, {2, 1}, {1.0005, 1}});
  NetComplex net;
  std::string reason;
  EXPECT_FALSE(Build(c, 1e-6, net, reason));
  // Face 1 corner 1 is point 2; face 2 corner 0 is point 5, corner 3 point 8.
  // Read as the sheet reads them, a line with a leading zero names no join.
  c.JoinList = {"05\t2", "8\t3"};
  EXPECT_FALSE(Build(c, 1e-5, net, reason));
  c.JoinList = {"5\t2", "8\t3"};
  ASSERT_TRUE(Build(c, 1e-5, net, reason)) << reason;
  EXPECT_EQ(net.hinges.size(), 1u);
}

TEST(NetComplex, CutApartWhereFacesWereNeverJoined) {
  // Three squares in a row; only the first two were joined (face 2's corner
  // 0 onto face 1's corner 1, its corner 3 onto face 1's corner 2).
  Construction c;
  AddFace(c, Square(0, 0));
  AddFace(c, Square(1, 0));
  AddFace(c, Square(2, 0));
  c.JoinList = {"5\t2", "8\t3"};
  NetComplex net;
  std::string reason;
  ASSERT_TRUE(Build(c, 1e-6, net, reason)) << reason;
  EXPECT_EQ(net.hinges.size(), 2u);
  EXPECT_FALSE(Build(c, 1e-6, net, reason, true));
  EXPECT_EQ(reason, "Die Flächen 2 und 3 berühren sich nur in einer Ecke.");
  // Joined at one end only is no hinge either.
  c.JoinList.push_back("9\t6");
  EXPECT_FALSE(Build(c, 1e-6, net, reason, true));
  c.JoinList.push_back("7\t12");
  ASSERT_TRUE(Build(c, 1e-6, net, reason, true)) << reason;
  EXPECT_EQ(net.hinges.size(), 2u);
}

TEST(NetComplex, RefusesBrokenNetsWithTheirReason) {
  NetComplex net;
  std::string reason;
  Construction empty;
  EXPECT_FALSE(Build(empty, 1e-6, net, reason));
  EXPECT_EQ(reason, "Die Konstruktion ist leer.");

  Construction apart;
  AddFace(apart, Square(0, 0));
  AddFace(apart, Square(3, 0));
  EXPECT_FALSE(Build(apart, 1e-6, net, reason));
  EXPECT_EQ(reason, "Das Netz zerfällt in 2 Teile, die nicht an ganzen Kanten zusammenhängen.");

  Construction corner;
  AddFace(corner, Square(0, 0));
  AddFace(corner, Square(1, 1));
  EXPECT_FALSE(Build(corner, 1e-6, net, reason));
  EXPECT_EQ(reason, "Die Flächen 1 und 2 berühren sich nur in einer Ecke.");

  // Connected through hinges, the chain comes back to touch face 1 at the
  // corner (0, 1): a strip touching itself by chance, taken apart there.
  Construction pinch;
  AddFace(pinch, Square(0, 0));
  AddFace(pinch, Square(1, 0));
  AddFace(pinch, Square(2, 0));
  AddFace(pinch, Square(2, 1));
  AddFace(pinch, Square(2, 2));
  AddFace(pinch, Square(1, 2));
  AddFace(pinch, Square(0, 2));
  AddFace(pinch, Square(-1, 2));
  AddFace(pinch, Square(-1, 1));
  ASSERT_TRUE(Build(pinch, 1e-6, net, reason)) << reason;
  EXPECT_EQ(net.edges.size(), 9u * 4 - 2 * 8);
  int atTouch = 0;
  for (const auto& e : net.edges) {  // outline point i is where edge i starts
    const auto& q = net.faces[e.edge.face].p[e.edge.k];
    if (std::fabs(q.x) < 1e-12 && std::fabs(q.y - 1) < 1e-12) ++atTouch;
  }
  EXPECT_EQ(atTouch, 2);

  Construction overlap;
  AddFace(overlap, Square(0, 0));
  AddFace(overlap, Square(0.5, 0.5));
  EXPECT_FALSE(Build(overlap, 1e-6, net, reason));
  EXPECT_EQ(reason, "Die Flächen 1 und 2 überdecken sich.");

  Construction stacked;
  AddFace(stacked, Square(0, 0));
  AddFace(stacked, Square(1, 0));
  AddFace(stacked, Square(1, 0));
  EXPECT_FALSE(Build(stacked, 1e-6, net, reason));
  EXPECT_NE(reason.find("überdecken sich"), std::string::npos) << reason;

  Construction inside;
  AddFace(inside, Square(0, 0, 3));
  AddFace(inside, Square(1, 1));
  EXPECT_FALSE(Build(inside, 1e-6, net, reason));
  EXPECT_EQ(reason, "Die Flächen 1 und 2 überdecken sich.");

  Construction partial;
  AddFace(partial, Square(0, 0, 2));
  AddFace(partial, Square(2, 0));
  EXPECT_FALSE(Build(partial, 1e-6, net, reason));
  EXPECT_EQ(reason, "Die Flächen 1 und 2 berühren sich nur an einem Teil einer Kante.");

  // A ring of eight squares around a hole.
  Construction ring;
  for (int i = 0; i < 3; ++i) AddFace(ring, Square(i, 0));
  AddFace(ring, Square(2, 1));
  for (int i = 2; i >= 0; --i) AddFace(ring, Square(i, 2));
  AddFace(ring, Square(0, 1));
  EXPECT_FALSE(Build(ring, 1e-6, net, reason));
  EXPECT_NE(reason.find("Loch"), std::string::npos) << reason;

  Construction flat;
  AddFace(flat, {{0, 0}, {1, 0}, {2, 0}});
  EXPECT_FALSE(Build(flat, 1e-6, net, reason));
  EXPECT_EQ(reason, "Fläche 1 hat keinen Flächeninhalt.");

  Construction bow;
  AddFace(bow, {{0, 0}, {1, 1}, {1, 0}, {0, 1}});
  EXPECT_FALSE(Build(bow, 1e-6, net, reason));
  EXPECT_EQ(reason, "Fläche 1 überschneidet sich selbst.");
}

TEST(NetComplex, FacesAroundAnInnerPointAreADisc) {
  // Four squares around the point (1, 1).
  Construction c;
  AddFace(c, Square(0, 0));
  AddFace(c, Square(1, 0));
  AddFace(c, Square(1, 1));
  AddFace(c, Square(0, 1));
  NetComplex net;
  std::string reason;
  ASSERT_TRUE(Build(c, 1e-6, net, reason)) << reason;
  EXPECT_EQ(net.hinges.size(), 4u);
  EXPECT_EQ(net.innerVertices.size(), 1u);
  EXPECT_EQ(net.edges.size(), 8u);
}

}  // namespace
}  // namespace didod
