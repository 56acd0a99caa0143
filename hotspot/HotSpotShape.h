#pragma once
// A hotspot's geometry: its box, rotation, type and outline, the point test, and the
// operations that keep the outline and the box consistent.
#include "hotspot/PointRoutines.h"
#include "platform/Component.h"

#include <cstdint>

namespace vandora {

class TCanvas;

enum TSpotShapeType : std::uint8_t { stRectangle = 0, stEllipse = 1, stPolygon = 2 };

class THotSpotShape : public TPersistent {
public:
    explicit THotSpotShape(TSpotShapeType shapeType) : shapeType_(shapeType) {}
    const char* ClassName() const override { return "THotSpotShape"; }

    int X() const { return x_; }
    int Y() const { return y_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int Angle() const { return angle_; }
    TSpotShapeType ShapeType() const { return shapeType_; }
    const TPoints& Points() const { return points_; }
    double KnotLeft() const { return knotLeft_; }
    double KnotRight() const { return knotRight_; }
    double KnotTop() const { return knotTop_; }
    double KnotBottom() const { return knotBottom_; }
    // Changes with every change of the points, so that what is derived from them can be
    // kept until they change.
    std::uint64_t Revision() const { return revision_; }

    // Recomputes the box and the knot extremes from the points (3 or more of them).
    void UpdateBounds();
    // Takes a copy of the points when there are 3 or more; fewer change nothing.
    void SetPoints(const TPoints& points);
    // Replaces the points whatever their number; the box is recomputed only from 3 on.
    // (A stored outline of 1 or 2 points becomes the outline without a new box.)
    void LoadPoints(TPoints points);
    // Turns the points from the current angle to the new one about the box centre.
    void SetAngle(int angle);
    // Stores the angle without turning anything (a stored outline is already turned).
    void StoreAngle(int angle) { angle_ = angle; }
    // Stores the type; the outline is left alone.
    void StoreShapeType(TSpotShapeType shapeType) { shapeType_ = shapeType; }
    // The 13-point Bezier ellipse inscribed in the box, then turned by Angle.
    void BuildEllipse();

    // 0 outside, 1 inside, 2 on the rim band of an ellipse.
    std::uint8_t PtInShape(int x, int y) const;
    // Draws the outline with the canvas's current pen and brush.
    void DrawOutline(TCanvas& canvas) const;

    // Moves the outline; no look changes.
    void SetX(int value);
    void SetY(int value);
    // Scales the outline; true when the hotspot's looks must be rebuilt.
    bool SetWidth(int value);
    bool SetHeight(int value);
    // Builds the geometry from two corners, by shape type (a polygon is left alone).
    void SetCorners(int left, int top, int right, int bottom);

    // Whether the two hold the same geometry: box, angle, type, points and knots.
    bool SameGeometry(const THotSpotShape& other) const;
    // Takes over another shape's geometry; as any change of the points, it counts as a
    // new revision of this shape.
    void RestoreGeometry(const THotSpotShape& saved);

private:
    enum class Axis { Horizontal, Vertical };
    bool Scale(Axis axis, int value);
    void Rotate(double theta, double cx, double cy);
    std::uint8_t PtInRectangle(int x, int y) const;
    std::uint8_t PtInEllipse(int x, int y) const;
    std::uint8_t PtInPolygon(int x, int y) const;

    std::int32_t y_ = 0;
    std::int32_t x_ = 0;
    std::int32_t height_ = 0;
    std::int32_t width_ = 0;
    std::int32_t angle_ = 0;
    TSpotShapeType shapeType_;
    TPoints points_;
    double knotLeft_ = 0.0;
    double knotRight_ = 0.0;
    double knotTop_ = 0.0;
    double knotBottom_ = 0.0;
    std::uint64_t revision_ = 0;
};

} // namespace vandora
