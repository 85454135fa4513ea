#include "screenfit.h"

#include <algorithm>

screenfit::Placement screenfit::place(const QSize &design, const QMargins &frame,
                                      const QRect &available, const QSize &minimum)
{
    const QSize frameExtra(frame.left() + frame.right(), frame.top() + frame.bottom());
    const QSize room = (available.size() - frameExtra).expandedTo(QSize(0, 0));
    const QSize client = design.boundedTo(room).expandedTo(minimum);
    const QSize outer = client + frameExtra;
    // Centred like the design asks; a window larger than the area (only when
    // its minimum does not fit) keeps its top-left corner in the area.
    const QPoint centred = available.center() - QPoint(outer.width() / 2, outer.height() / 2);
    const QPoint corner(std::max(centred.x(), available.left()),
                        std::max(centred.y(), available.top()));
    return {corner, client};
}
