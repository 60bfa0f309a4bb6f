#include "fold/gluing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <set>

#include "nets.h"

namespace didod {
namespace {

using namespace testnets;
using foldnet::Chord;
using foldnet::GluingSearch;
using foldnet::NetComplex;

// All non-crossing perfect matchings of the edges lo..hi.
void Matchings(int lo, int hi, std::vector<Chord>& cur, std::vector<std::vector<Chord>>& out) {
  if (lo > hi) {
    out.push_back(cur);
    return;
  }
  for (int m = lo + 1; m <= hi; m += 2) {
    std::vector<std::vector<Chord>> inner;
    std::vector<Chord> none;
    Matchings(lo + 1, m - 1, none, inner);
    for (const auto& in : inner) {
      std::vector<Chord> next = cur;
      next.push_back({lo, m});
      next.insert(next.end(), in.begin(), in.end());
      Matchings(m + 1, hi, next, out);
    }
  }
}

struct Brute {
  std::int64_t alexandrov = 0;  // every pair and every glued vertex possible
  // The kinds of glued vertex (angle in units of 1e-9, corners) of each of those.
  std::vector<std::set<std::pair<long long, int>>> kinds;
  std::set<std::vector<std::pair<int, int>>> listed;  // and no two convex faces sharing two edges
};

// Checks every matching directly: equal lengths, no face glued to itself or
// to a face it is hinged to, and every glued vertex possible.
Brute BruteForce(const NetComplex& net, double limit) {
  const int n = static_cast<int>(net.edges.size());
  std::vector<std::vector<Chord>> all;
  std::vector<Chord> none;
  Matchings(0, n - 1, none, all);
  std::set<std::pair<int, int>> hinged;
  for (const auto& h : net.hinges) {
    hinged.insert({h.a.face, h.b.face});
    hinged.insert({h.b.face, h.a.face});
  }
  Brute result;
  for (const auto& m : all) {
    bool ok = true;
    std::multiset<std::pair<int, int>> pairs;
    for (const Chord& c : m) {
      const int fa = net.edges[c.a].edge.face, fb = net.edges[c.b].edge.face;
      if (std::fabs(net.edges[c.a].length - net.edges[c.b].length) > 1e-9 || fa == fb || hinged.count({fa, fb}))
        ok = false;
      pairs.insert({std::min(fa, fb), std::max(fa, fb)});
    }
    if (!ok) continue;
    std::vector<int> parent(n);
    for (int i = 0; i < n; ++i) parent[i] = i;
    auto find = [&](int x) {
      while (parent[x] != x) x = parent[x];
      return x;
    };
    for (const Chord& c : m) {
      parent[find(c.a)] = find((c.b + 1) % n);
      parent[find((c.a + 1) % n)] = find(c.b);
    }
    std::vector<double> sum(n, 0), most(n, 0);
    std::vector<int> corners(n, 0);
    for (int i = 0; i < n; ++i) {
      sum[find(i)] += net.points[i].angle;
      most[find(i)] = std::max(most[find(i)], net.points[i].maxAngle);
      corners[find(i)] += net.points[i].corners;
    }
    std::set<std::pair<long long, int>> kinds;
    for (int i = 0; i < n; ++i)
      if (find(i) == i) {
        if (!GluingSearch::VertexPossible(sum[i], most[i], limit)) ok = false;
        kinds.insert({std::llround(sum[i] * 1e9), corners[i]});
      }
    if (!ok) continue;
    ++result.alexandrov;
    result.kinds.push_back(kinds);
    bool twice = false;
    for (const auto& p : pairs) twice = twice || pairs.count(p) > 1;
    if (twice) continue;
    std::vector<std::pair<int, int>> key;
    for (const Chord& c : m) key.push_back({c.a, c.b});
    std::sort(key.begin(), key.end());
    result.listed.insert(key);
  }
  return result;
}

void ExpectCountsMatch(const Construction& c, double limit) {
  NetComplex net;
  const auto built = foldnet::BuildNetComplex(c, 1e-6, net);
  ASSERT_TRUE(built) << built.reason;
  const Brute brute = BruteForce(net, limit);
  const auto deadline = foldnet::Deadline::In(30);
  GluingSearch search(net);
  ASSERT_TRUE(search.Count(limit, deadline));
  EXPECT_EQ(search.Total(), brute.alexandrov);
  std::set<std::vector<std::pair<int, int>>> listed;
  EXPECT_TRUE(search.List([&](std::span<const Chord> chords) {
    std::vector<std::pair<int, int>> key;
    for (const Chord& ch : chords) key.push_back({ch.a, ch.b});
    std::sort(key.begin(), key.end());
    EXPECT_TRUE(listed.insert(key).second) << "listed twice";
    return true;
  }, deadline));
  EXPECT_EQ(listed, brute.listed);

  // Counting with only the kinds of vertex that one gluing has.
  if (brute.kinds.empty()) return;
  const auto& allowed = brute.kinds.back();
  std::vector<foldnet::VertexKind> only;
  for (const auto& [angle, corners] : allowed) only.push_back({angle * 1e-9, corners});
  std::int64_t within = 0;
  for (const auto& k : brute.kinds)
    within += std::includes(allowed.begin(), allowed.end(), k.begin(), k.end()) ? 1 : 0;
  // The same search object counts again; afterwards it lists what it counted last.
  ASSERT_TRUE(search.Count(limit, deadline, only));
  EXPECT_EQ(search.Total(), within);
  std::int64_t relisted = 0;
  EXPECT_TRUE(search.List([&](std::span<const Chord>) { return ++relisted > 0; }, deadline));
  EXPECT_LE(relisted, within);
  EXPECT_GE(within, 1);
}

// A strip of equilateral triangles, alternately up and down.
Construction TriangleStrip(int count) {
  Construction c;
  const double h = std::sqrt(3.0) / 2;
  for (int i = 0; i < count; ++i) {
    const double x = i * 0.5;
    if (i % 2 == 0)
      AddFace(c, {{x, 0}, {x + 1, 0}, {x + 0.5, h}});
    else
      AddFace(c, {{x + 0.5, 0}, {x + 1, h}, {x, h}});
  }
  return c;
}

TEST(GluingCount, AgreesWithBruteForceOnSmallNets) {
  ExpectCountsMatch(CubeCross(), 2 * std::numbers::pi);
  ExpectCountsMatch(CubeCross(), 4 * std::numbers::pi);
  ExpectCountsMatch(Tetrahedron(), 2 * std::numbers::pi);
  ExpectCountsMatch(TriangularPrism(), 2 * std::numbers::pi);
  ExpectCountsMatch(TriangularPrism(), 4 * std::numbers::pi);
  for (int k = 4; k <= 16; k += 2) {
    SCOPED_TRACE(k);
    ExpectCountsMatch(TriangleStrip(k), 2 * std::numbers::pi);
    ExpectCountsMatch(TriangleStrip(k), 4 * std::numbers::pi);
  }
  // Mixed lengths: a row of a square, a long rectangle and a square.
  Construction mixed;
  AddFace(mixed, Square(0, 0));
  AddFace(mixed, {{1, 0}, {3, 0}, {3, 1}, {1, 1}});
  AddFace(mixed, Square(3, 0));
  AddFace(mixed, {{1, 1}, {3, 1}, {3, 2}, {1, 2}});
  AddFace(mixed, {{1, -1}, {3, -1}, {3, 0}, {1, 0}});
  AddFace(mixed, {{1, 2}, {3, 2}, {3, 3}, {1, 3}});
  ExpectCountsMatch(mixed, 2 * std::numbers::pi);
  ExpectCountsMatch(mixed, 4 * std::numbers::pi);
}

TEST(GluingCount, TheCubeCrossHasTheCubeAmongItsGluings) {
  NetComplex net;
  ASSERT_TRUE(foldnet::BuildNetComplex(CubeCross(), 1e-6, net));
  const auto deadline = foldnet::Deadline::In(30);
  GluingSearch search(net);
  ASSERT_TRUE(search.Count(2 * std::numbers::pi, deadline));
  EXPECT_GE(search.Total(), 1);
  // Every listed gluing gathers three corners at each glued vertex of the cube.
  int lists = 0;
  search.List([&](std::span<const Chord> chords) {
    EXPECT_EQ(chords.size(), 7u);
    ++lists;
    return true;
  }, deadline);
  EXPECT_GE(lists, 1);
}

TEST(GluingCount, StopsAtTheDeadline) {
  NetComplex net;
  ASSERT_TRUE(foldnet::BuildNetComplex(TriangleStrip(40), 1e-6, net));
  GluingSearch search(net);
  const foldnet::Deadline past(foldnet::Clock::now() - std::chrono::seconds(1));
  EXPECT_FALSE(search.Count(4 * std::numbers::pi, past));
  EXPECT_FALSE(search.Counted());
  EXPECT_FALSE(search.List([](std::span<const Chord>) { return true; }, past));
  // A cancelled search stops as well, whatever time is left.
  std::atomic<bool> cancel{true};
  EXPECT_FALSE(search.Count(4 * std::numbers::pi, foldnet::Deadline::In(30, &cancel)));
  cancel = false;
  ASSERT_TRUE(search.Count(2 * std::numbers::pi, foldnet::Deadline::In(30, &cancel)));
  int listed = 0;
  cancel = true;
  EXPECT_FALSE(search.List([&](std::span<const Chord>) { return ++listed > 0; }, foldnet::Deadline::In(30, &cancel)));
  EXPECT_LT(listed, 300);
}

}  // namespace
}  // namespace didod
