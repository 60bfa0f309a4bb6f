#include "unfold/export.h"

#include <assimp/Exporter.hpp>
#include <assimp/material.h>
#include <assimp/scene.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>
#include <stdexcept>

#include "geometry/polygon.h"

namespace didod::unfold {

namespace {

using geo::Distance;

// The faces, or the triangles of each face (ear clipping in the face's plane,
// so that star outlines are cut right too).
std::vector<std::vector<int>> Faces(const Polyhedron& solid, bool triangles) {
  if (!triangles) return solid.faces;
  std::vector<std::vector<int>> out;
  for (int f = 0; f < static_cast<int>(solid.faces.size()); ++f) {
    const auto& face = solid.faces[f];
    const Vec3 n = FaceNormal(solid, f), o = solid.vertices[face[0]];
    const Vec3 e1 = geo::Normalized(solid.vertices[face[1]] - o), e2 = geo::Cross(n, e1);
    std::vector<geo::Vec2> flat;
    for (int v : face) flat.push_back({geo::Dot(solid.vertices[v] - o, e1), geo::Dot(solid.vertices[v] - o, e2)});
    for (const auto& t : geo::Triangulate(flat)) out.push_back({face[t[0]], face[t[1]], face[t[2]]});
  }
  return out;
}

// Shortest form that reads back as the same double.
std::string Number(double v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.17g", v == 0 ? 0.0 : v);
  return buf;
}

std::vector<unsigned char> OffBytes(const Polyhedron& solid, bool triangles) {
  const auto faces = Faces(solid, triangles);
  std::string text = "OFF\n" + std::to_string(solid.vertices.size()) + " " + std::to_string(faces.size()) + " 0\n";
  for (const Vec3& v : solid.vertices) text += Number(v.x) + " " + Number(v.y) + " " + Number(v.z) + "\n";
  for (const auto& face : faces) {
    text += std::to_string(face.size());
    for (int i : face) text += " " + std::to_string(i);
    text += "\n";
  }
  return {text.begin(), text.end()};
}

// One mesh with one plain material. With `ownCorners` every face gets corners
// of its own carrying the face's normal, so that viewers shade it flat.
std::unique_ptr<aiScene> SceneOf(const Polyhedron& solid, bool triangles, bool ownCorners) {
  const auto faces = Faces(solid, triangles);
  auto scene = std::make_unique<aiScene>();
  scene->mRootNode = new aiNode();
  scene->mRootNode->mName = "solid";
  scene->mRootNode->mMeshes = new unsigned[1]{0};
  scene->mRootNode->mNumMeshes = 1;
  scene->mMaterials = new aiMaterial*[1]{new aiMaterial()};
  scene->mNumMaterials = 1;
  const aiColor4D white(1, 1, 1, 1);
  scene->mMaterials[0]->AddProperty(&white, 1, AI_MATKEY_COLOR_DIFFUSE);
  scene->mMeshes = new aiMesh*[1]{new aiMesh()};
  scene->mNumMeshes = 1;
  aiMesh& mesh = *scene->mMeshes[0];
  mesh.mName = "solid";
  mesh.mMaterialIndex = 0;
  std::size_t corners = 0;
  for (const auto& face : faces) corners += face.size();
  mesh.mNumVertices = static_cast<unsigned>(ownCorners ? corners : solid.vertices.size());
  mesh.mVertices = new aiVector3D[mesh.mNumVertices];
  if (ownCorners) mesh.mNormals = new aiVector3D[mesh.mNumVertices];
  if (!ownCorners)
    for (std::size_t i = 0; i < solid.vertices.size(); ++i) {
      const Vec3& v = solid.vertices[i];
      mesh.mVertices[i] = aiVector3D(static_cast<ai_real>(v.x), static_cast<ai_real>(v.y), static_cast<ai_real>(v.z));
    }
  mesh.mNumFaces = static_cast<unsigned>(faces.size());
  mesh.mFaces = new aiFace[mesh.mNumFaces];
  unsigned next = 0;
  bool onlyTriangles = true;
  for (std::size_t f = 0; f < faces.size(); ++f) {
    const auto& face = faces[f];
    onlyTriangles = onlyTriangles && face.size() == 3;
    aiFace& out = mesh.mFaces[f];
    out.mNumIndices = static_cast<unsigned>(face.size());
    out.mIndices = new unsigned[face.size()];
    Vec3 n;
    for (std::size_t i = 0; i < face.size(); ++i)
      n += geo::Cross(solid.vertices[face[i]], solid.vertices[face[(i + 1) % face.size()]]);
    n = geo::Norm(n) > 0 ? geo::Normalized(n) : n;
    for (std::size_t i = 0; i < face.size(); ++i) {
      if (!ownCorners) {
        out.mIndices[i] = static_cast<unsigned>(face[i]);
        continue;
      }
      const Vec3& v = solid.vertices[face[i]];
      mesh.mVertices[next] = aiVector3D(static_cast<ai_real>(v.x), static_cast<ai_real>(v.y), static_cast<ai_real>(v.z));
      mesh.mNormals[next] = aiVector3D(static_cast<ai_real>(n.x), static_cast<ai_real>(n.y), static_cast<ai_real>(n.z));
      out.mIndices[i] = next++;
    }
  }
  mesh.mPrimitiveTypes = onlyTriangles ? aiPrimitiveType_TRIANGLE : aiPrimitiveType_POLYGON;
  return scene;
}

std::vector<unsigned char> LibraryBytes(const Polyhedron& solid, const char* format, bool triangles, bool ownCorners) {
  const std::unique_ptr<aiScene> scene = SceneOf(solid, triangles, ownCorners);
  Assimp::Exporter exporter;
  const aiExportDataBlob* blob = exporter.ExportToBlob(scene.get(), format);
  if (!blob) throw std::runtime_error(exporter.GetErrorString());
  const auto* data = static_cast<const unsigned char*>(blob->data);
  return {data, data + blob->size};
}

}  // namespace

std::optional<SolidFormat> SolidFormatOfName(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos || name.find('/', dot) != std::string::npos) return std::nullopt;
  std::string ext = name.substr(dot + 1);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  if (ext == "off") return SolidFormat::Off;
  if (ext == "obj") return SolidFormat::Obj;
  if (ext == "stl") return SolidFormat::StlBinary;
  if (ext == "ply") return SolidFormat::Ply;
  if (ext == "glb") return SolidFormat::Glb;
  return std::nullopt;
}

std::vector<unsigned char> SolidFileBytes(const Polyhedron& solid, SolidFormat format, bool triangles) {
  switch (format) {
    case SolidFormat::Off: return OffBytes(solid, triangles);
    case SolidFormat::Obj: return LibraryBytes(solid, "objnomtl", triangles, false);
    case SolidFormat::StlAscii: return LibraryBytes(solid, "stl", true, false);
    case SolidFormat::StlBinary: return LibraryBytes(solid, "stlb", true, false);
    case SolidFormat::Ply: return LibraryBytes(solid, "plyb", triangles, false);
    case SolidFormat::Glb: return LibraryBytes(solid, "glb2", true, true);
  }
  throw std::logic_error("unknown solid format");
}

Polyhedron ScaledToLongestEdge(const Polyhedron& solid, double length) {
  const double longest = EdgeLengthRange(solid).second;
  Polyhedron out = solid;
  if (longest > 0)
    for (Vec3& v : out.vertices) v = v * (length / longest);
  return out;
}

}  // namespace didod::unfold
