#pragma once
#include <algorithm>
#include <vector>

namespace didod::foldnet {

// Disjoint sets over 0 .. n-1; each set is named by its smallest member.
struct UnionFind {
  std::vector<int> parent;
  explicit UnionFind(int n) : parent(n) {
    for (int i = 0; i < n; ++i) parent[i] = i;
  }
  int Find(int x) {
    while (parent[x] != x) {
      parent[x] = parent[parent[x]];
      x = parent[x];
    }
    return x;
  }
  bool Unite(int a, int b) {
    a = Find(a);
    b = Find(b);
    if (a == b) return false;
    parent[std::max(a, b)] = std::min(a, b);
    return true;
  }
};

}  // namespace didod::foldnet
