// The operations of the drawing-surface interface, named once: the test
// backend records each call as one of these, and the tests and failure
// messages name them from the same table.
#pragma once

#include <cstddef>

namespace cs {

// X(name, drawing): drawing operations put something on the surface.
#define CS_DRAW_OPS(X)                \
    X(Startup, false)                 \
    X(Shutdown, false)                \
    X(CreateContext, false)           \
    X(DeleteContext, false)           \
    X(ScaleWorldTransform, false)     \
    X(TranslateWorldTransform, false) \
    X(AntiAliasShapes, false)         \
    X(AntiAliasText, false)           \
    X(CreateBrush, false)             \
    X(DeleteBrush, false)             \
    X(CreatePen, false)               \
    X(DeletePen, false)               \
    X(CreateStringFormat, false)      \
    X(DeleteStringFormat, false)      \
    X(CreateFont, false)              \
    X(DeleteFont, false)              \
    X(FillRectangle, true)            \
    X(FillEllipse, true)              \
    X(FillPolygon, true)              \
    X(DrawRectangle, true)            \
    X(DrawEllipse, true)              \
    X(DrawPolygon, true)              \
    X(DrawLine, true)                 \
    X(DrawString, true)               \
    X(MeasureString, false)

enum class DrawOp {
#define CS_DRAW_OP_ENUM(name, drawing) name,
    CS_DRAW_OPS(CS_DRAW_OP_ENUM)
#undef CS_DRAW_OP_ENUM
};

struct DrawOpInfo {
    const char* name;
    bool drawing;
};

inline constexpr DrawOpInfo kDrawOps[] = {
#define CS_DRAW_OP_INFO(name, drawing) {#name, drawing},
    CS_DRAW_OPS(CS_DRAW_OP_INFO)
#undef CS_DRAW_OP_INFO
};

inline constexpr size_t kDrawOpCount = sizeof(kDrawOps) / sizeof(kDrawOps[0]);

constexpr const char* drawOpName(DrawOp op) {
    return kDrawOps[static_cast<size_t>(op)].name;
}

constexpr bool isDrawingOp(DrawOp op) {
    return kDrawOps[static_cast<size_t>(op)].drawing;
}

}  // namespace cs
