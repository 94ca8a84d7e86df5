#pragma once
// The arithmetic of the drawing view, without a window: the view plane of a direction, the lines and
// circles each entity is drawn with, the fit of the zoom box to the view's pixels and the hit test of
// a click. Lengths in the view plane are model millimetres; screen points are pixels, y downwards.

#include <cad/Drawing.h>
#include <cad/Pick.h>

#include <functional>
#include <vector>

namespace view {

/// The view plane: `right` and `up` span it, `eye` points from the model towards the eye.
struct ViewBasis {
    cad::Vector3d right{1, 0, 0};
    cad::Vector3d up{0, 0, 1};
    cad::Vector3d eye{0, -1, 0};
};
/// The basis of a direction towards the eye: the model's z axis points up, unless the eye looks
/// along it (then y points up and x to the right). A zero vector gives the front view.
ViewBasis viewBasis(const cad::Vector3d& towardsEye);
/// A model point in the view plane (millimetres along `right` and `up`).
cad::Point2d project(const ViewBasis& basis, const cad::Point3d& p);

/// What an entity is drawn with, in the view plane.
struct Shape {
    enum Kind { Polyline, Circle };
    Kind kind = Polyline;
    std::vector<cad::Point2d> points; ///< Polyline: its corners in order (closed ones repeat the first)
    cad::Point2d centre;              ///< Circle
    double radius = 0;                ///< Circle
    bool thin = false;                ///< a centre line, drawn lighter
};
/// The shapes of one entity: a profile's centre line and the edges of its section envelope along it;
/// a plate's outline on both faces and the edges between; a circle for every bolt hole; three axes of
/// `markerSize` for a coordinate system; a diamond of `markerSize` for a block reference; the
/// diagonals of a cut marker's square. A macro group has none (its members draw themselves).
std::vector<Shape> entityShapes(const cad::Entity& entity, const ViewBasis& basis, double markerSize);
/// Receives the shapes of an entity one at a time (a paint that keeps none of them).
class ShapeSink {
public:
    virtual ~ShapeSink() = default;
    /// `count` corners in order; `thin` for a centre line.
    virtual void polyline(const cad::Point2d* points, std::size_t count, bool thin) = 0;
    virtual void circle(const cad::Point2d& centre, double radius) = 0;
};
/// The shapes of `entityShapes`, handed to `sink` in the same order.
void emitShapes(const cad::Entity& entity, const ViewBasis& basis, double markerSize, ShapeSink& sink);

/// Model-plane to pixels: x = u * scale + originX, y = originY - v * scale.
struct ScreenFit {
    double scale = 1;
    double originX = 0, originY = 0;
    cad::Point2d toScreen(const cad::Point2d& p) const {
        return {p.x * scale + originX, originY - p.y * scale};
    }
    cad::Point2d toPlane(double x, double y) const { return {(x - originX) / scale, (originY - y) / scale}; }
};
/// Fits the box as this view sees it into `width` × `height` pixels less `margin` on every side,
/// centred, with one scale for both axes. An empty box shows the origin at the centre, 1 mm a pixel;
/// a flat box (a line, a point) is shown at the scale its other extent allows, or 1 mm a pixel.
ScreenFit fitBox(const ViewBasis& basis, const cad::Extents& box, double width, double height, double margin);

/// A rectangle of the view plane (model millimetres along `right` and `up`); closed, empty when a
/// minimum exceeds its maximum.
struct PlaneRect {
    double minU = 1, minV = 1, maxU = -1, maxV = -1;
    bool isEmpty() const { return !(minU <= maxU && minV <= maxV); }
    bool overlaps(const PlaneRect& o) const {
        return !isEmpty() && !o.isEmpty() && minU <= o.maxU && o.minU <= maxU && minV <= o.maxV &&
               o.minV <= maxV;
    }
    /// The rectangle grown by `d` on every side.
    PlaneRect grown(double d) const {
        return isEmpty() ? *this : PlaneRect{minU - d, minV - d, maxU + d, maxV + d};
    }
};
/// The rectangle a model box covers in the view plane (its eight corners projected); empty for an
/// empty box.
PlaneRect projectBox(const ViewBasis& basis, const cad::Extents& box);
/// The view-plane rectangle that `width` × `height` pixels show.
PlaneRect visibleRect(const ScreenFit& fit, double width, double height);
/// A model box, within `within`, that holds every point of `within` that projects into `rect`: the
/// rectangle extruded along the view direction and cut to `within`. Exact for a view along a model
/// axis; for another direction a box around the slanted prism (never smaller than it). Empty when
/// nothing of `within` projects into `rect`.
cad::Extents modelBoxOf(const ViewBasis& basis, const PlaneRect& rect, const cad::Extents& within);
/// The entities whose box, projected, overlaps `rect` grown by `reach` (how far a shape may reach
/// beyond its entity's box: a marker's arms, the smallest hole drawn); groups are left out (they have
/// no shapes). Lasting entities are found through the drawing's spatial index, temporary ones by
/// their boxes. In increasing id order.
std::vector<AcDbObjectId> entitiesInRect(const cad::Drawing& drawing, const ViewBasis& basis,
                                         const PlaneRect& rect, double reach);
/// Calls `visit` with each entity `entitiesInRect` lists and its projected box, in no order (a
/// paint that needs no order is spared the sort).
void visitEntitiesInRect(const cad::Drawing& drawing, const ViewBasis& basis, const PlaneRect& rect,
                         double reach,
                         const std::function<void(const cad::Entity&, const PlaneRect&)>& visit);

/// The distance from a view-plane point to a shape: to the nearest segment of a polyline, to the
/// rim of a circle from outside and 0 inside it.
double distanceToShape(const Shape& shape, const cad::Point2d& p);

/// The entity nearest to `at` within `tolerance` (view-plane millimetres) whose kind `allowed` holds
/// (empty: any); temporary entities and groups are not picked; of two as near, the lower id. Null
/// when none is that near. Only the entities the spatial index finds around `at` are measured.
AcDbObjectId nearestEntity(const cad::Drawing& drawing, const ViewBasis& basis, const cad::Point2d& at,
                           double tolerance, const std::vector<cad::EntityKind>& allowed = {},
                           double markerSize = 0);

/// The model point a click at `at` means: on the plane through the centre of `box` that faces the eye
/// (through the origin when the box is empty).
cad::Point3d pointOnViewPlane(const ViewBasis& basis, const cad::Point2d& at, const cad::Extents& box);

} // namespace view
