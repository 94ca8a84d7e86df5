#pragma once
// The drawing: its entities under ids that are never given twice, the view (direction, zoom,
// highlights), a revision counter and the listeners that a view uses to follow every change. The
// drawing knows no view; views listen. One drawing is current (`curDrawing`); others can be made for
// tests and for loading a file, which replaces the current content only when the whole load succeeded.

#include <cad/Entity.h>
#include <cad/SpatialIndex.h>
#include <cad/acadstd.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace cad {

/// The named view directions of the macro dialog's view buttons (their numbers are the ones the
/// callers pass).
enum class ViewDirection {
    Front = 0,    ///< looking from -y: (0, -1, 0)
    Side = 1,     ///< looking from +x: (1, 0, 0)
    Top = 2,      ///< looking from +z: (0, 0, 1)
    Standard = 3, ///< the isometric view from (-1, -1, 1)
};
/// The vector from the target towards the eye of a named direction.
Vector3d viewVector(ViewDirection direction);

/// What a listener is told after every change.
struct DrawingChange {
    enum Kind {
        Added,     ///< `ids` were added
        Modified,  ///< `ids` changed
        Erased,    ///< `ids` are gone (a group with what it owned)
        View,      ///< the view direction or zoom changed
        Highlight, ///< the highlight of `ids` changed
        Display,   ///< the display was asked to update (`acedUpdateDisplay`); not a change of content
        Replaced,  ///< the whole content was replaced (a file was opened)
    };
    Kind kind;
    std::vector<AcDbObjectId> ids;
    std::uint64_t revision; ///< the drawing's revision after the change
};
using DrawingListener = std::function<void(const DrawingChange&)>;

class Drawing {
public:
    /// Most owners above an entity (a group in a group in ...).
    static constexpr int kMaxOwnerDepth = 16;

    Drawing();
    ~Drawing();
    Drawing(const Drawing&) = delete;
    Drawing& operator=(const Drawing&) = delete;

    /// Adds an entity under a new id (its `id` is ignored) and returns the id; the null id with a
    /// message in `error` when the entity is faulty (`entityFault`) or its owner is no macro group
    /// of this drawing, is temporary when the entity is not (or the other way round), or lies
    /// `kMaxOwnerDepth` deep already.
    AcDbObjectId add(Entity entity, std::string* error = nullptr);
    /// Adds a temporary entity (a preview): never saved, not in the spatial index, cleared together.
    AcDbObjectId addTemporary(Entity entity, std::string* error = nullptr);
    /// Erases every temporary entity.
    void clearTemporary();

    /// The entity of `id`, or null when there is none (erased, never made).
    const Entity* get(AcDbObjectId id) const;
    /// Changes an entity through `edit` on a copy. The id, owner, kind and temporary flag cannot
    /// change; a faulty result is refused (eInvalidInput, message in `error`) and nothing changes.
    Acad::ErrorStatus modify(AcDbObjectId id, const std::function<void(Entity&)>& edit,
                             std::string* error = nullptr);
    /// Erases an entity; a macro group takes everything it owns with it. eKeyNotFound when none.
    Acad::ErrorStatus erase(AcDbObjectId id);

    std::size_t size() const { return m_entities.size(); }
    /// Every id, in increasing order; or those of one kind.
    std::vector<AcDbObjectId> ids() const;
    std::vector<AcDbObjectId> ids(EntityKind kind) const;
    /// The entities `owner` owns directly, in increasing order.
    std::vector<AcDbObjectId> members(AcDbObjectId owner) const;
    /// The entities `owner` owns, also through groups in it.
    std::vector<AcDbObjectId> allMembers(AcDbObjectId owner) const;
    /// The entity of that name with the lowest id, or null.
    AcDbObjectId findByName(std::string_view name) const;
    /// The id the next entity gets; every id below it has been given.
    std::int64_t nextId() const { return m_nextId; }

    /// The box of an entity; a group's is that of what it owns. Empty for an unknown id.
    Extents extents(AcDbObjectId id) const;
    /// The box of every entity that is not temporary.
    Extents extentsAll() const;
    /// The entities (not temporary, not groups) whose box overlaps `box`.
    std::vector<AcDbObjectId> overlapping(const Extents& box) const;
    /// Calls `visit` with each of them and its box (as the index holds it), in no order.
    void overlapping(const Extents& box,
                     const std::function<void(AcDbObjectId, const Extents&)>& visit) const {
        m_index.query(box, visit);
    }
    /// A box that holds every entity `overlapping` can find; after erasures it may be larger than
    /// they need (it is cheap, unlike `extentsAll`).
    const Extents& indexBounds() const { return m_index.bounds(); }
    /// The temporary entities, in increasing order.
    std::vector<AcDbObjectId> temporaryIds() const;

    // ---- the view
    void changeView(ViewDirection direction);
    /// Any direction but the zero vector (false, nothing changes).
    bool changeView(const Vector3d& towardsEye);
    const Vector3d& viewDirection() const { return m_view; }
    /// Shows these objects (a group with its members); false when they have no box.
    bool zoomToObjects(const std::vector<AcDbObjectId>& ids);
    /// Shows every entity that is not temporary; false for an empty drawing.
    bool zoomExtents();
    /// The box the view shows (empty before the first zoom).
    const Extents& zoomBox() const { return m_zoom; }
    /// Highlights or clears one entity; eKeyNotFound for an unknown id.
    Acad::ErrorStatus highlight(AcDbObjectId id, bool on = true);
    void clearHighlights();
    bool isHighlighted(AcDbObjectId id) const { return m_highlighted.count(id) != 0; }
    const std::set<AcDbObjectId>& highlighted() const { return m_highlighted; }
    /// Asks the views to update now (listeners hear `Display`) and counts it.
    void updateDisplay();
    int displayUpdates() const { return m_displayUpdates; }

    /// Bumped by every change of entities, view or highlights.
    std::uint64_t revision() const { return m_revision; }
    /// Adds a listener; the token removes it. A listener may change the drawing or remove itself
    /// (or another) while it is told; a removed listener is not called again.
    int addListener(DrawingListener listener);
    void removeListener(int token);

    /// Takes the entities, ids and view of `other` (a drawing just loaded), which is left empty;
    /// this drawing keeps its listeners, which hear `Replaced`. Highlights and temporary entities
    /// of this drawing are dropped.
    void takeContentOf(Drawing& other);
    /// Removes everything (ids still go on from where they were).
    void clear();

    /// For readers: adds an entity that keeps its own id, which must be new and positive. Its
    /// owner must already be here. Listeners are not told.
    Acad::ErrorStatus insertWithId(Entity entity, std::string* error = nullptr);
    /// For readers: ids go on from at least `next`.
    void reserveIds(std::int64_t next);

    /// Same entities, ids and view direction (what a file holds).
    bool sameContent(const Drawing& other) const;

private:
    AcDbObjectId addEntity(Entity entity, bool temporary, std::string* error);
    std::string ownerFault(const Entity& entity) const;
    void notify(DrawingChange::Kind kind, std::vector<AcDbObjectId> ids, bool bump = true);
    void forget(AcDbObjectId id);

    std::map<std::int64_t, Entity> m_entities;
    std::unordered_map<std::int64_t, std::set<std::int64_t>> m_members;
    SpatialIndex m_index;
    std::set<std::int64_t> m_temporary;
    std::int64_t m_nextId = 1;
    Vector3d m_view;
    Extents m_zoom;
    std::set<AcDbObjectId> m_highlighted;
    int m_displayUpdates = 0;
    std::uint64_t m_revision = 0;
    struct Listener {
        int token;
        std::shared_ptr<DrawingListener> call;
    };
    std::vector<Listener> m_listeners;
    int m_nextToken = 1;
};

/// The current drawing of the host.
Drawing& curDrawing();

} // namespace cad

/// Turns the current drawing's view (the macro dialog's view buttons pass 3, 0, 1, 2).
void changeView(cad::ViewDirection direction);
/// Zooms the current drawing to these objects, or to everything when none are given.
bool ZoomCommand(const std::vector<AcDbObjectId>& ids = {});
