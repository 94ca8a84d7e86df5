// The drawing: entities, owners, the spatial index, the view and the listeners.

#include <cad/Drawing.h>

#include <algorithm>

namespace cad {

Vector3d viewVector(ViewDirection direction) {
    switch (direction) {
    case ViewDirection::Front:
        return {0, -1, 0};
    case ViewDirection::Side:
        return {1, 0, 0};
    case ViewDirection::Top:
        return {0, 0, 1};
    case ViewDirection::Standard:
        break;
    }
    return {-1, -1, 1};
}

Drawing::Drawing()
    : m_view(viewVector(ViewDirection::Standard)) {}

Drawing::~Drawing() = default;

namespace {
void setError(std::string* error, std::string text) {
    if (error) *error = std::move(text);
}
} // namespace

std::string Drawing::ownerFault(const Entity& e) const {
    if (e.owner.isNull()) return "";
    const Entity* owner = get(e.owner);
    if (!owner) return "the owner " + std::to_string(e.owner.handle()) + " does not exist";
    if (owner->kind() != EntityKind::MacroGroup)
        return "the owner " + std::to_string(e.owner.handle()) + " is no group";
    if (owner->temporary != e.temporary)
        return e.temporary ? "a temporary entity cannot belong to a lasting group"
                           : "a lasting entity cannot belong to a temporary group";
    int depth = 1;
    for (const Entity* o = owner; !o->owner.isNull(); o = get(o->owner))
        if (++depth > kMaxOwnerDepth)
            return "groups are nested more than " + std::to_string(kMaxOwnerDepth) + " deep";
    return "";
}

AcDbObjectId Drawing::addEntity(Entity e, bool temporary, std::string* error) {
    e.temporary = temporary;
    std::string fault = entityFault(e);
    if (fault.empty()) fault = ownerFault(e);
    if (!fault.empty()) {
        setError(error, fault);
        return {};
    }
    e.id = AcDbObjectId(m_nextId++);
    AcDbObjectId id = e.id;
    if (!temporary && e.kind() != EntityKind::MacroGroup) m_index.insert(id, e.extents());
    if (temporary) m_temporary.insert(id.handle());
    if (!e.owner.isNull()) m_members[e.owner.handle()].insert(id.handle());
    m_entities.emplace(id.handle(), std::move(e));
    notify(DrawingChange::Added, {id});
    return id;
}

AcDbObjectId Drawing::add(Entity entity, std::string* error) {
    return addEntity(std::move(entity), false, error);
}

AcDbObjectId Drawing::addTemporary(Entity entity, std::string* error) {
    return addEntity(std::move(entity), true, error);
}

Acad::ErrorStatus Drawing::insertWithId(Entity e, std::string* error) {
    if (e.id.handle() <= 0 || m_entities.count(e.id.handle())) {
        setError(error, "the id " + std::to_string(e.id.handle()) + " is not new");
        return Acad::eDuplicateKey;
    }
    std::string fault = entityFault(e);
    if (fault.empty()) fault = ownerFault(e);
    if (fault.empty() && !e.owner.isNull() && !(e.owner < e.id))
        fault = "an owner has a lower id than what it owns";
    if (!fault.empty()) {
        setError(error, fault);
        return Acad::eInvalidInput;
    }
    AcDbObjectId id = e.id;
    if (!e.temporary && e.kind() != EntityKind::MacroGroup) m_index.insert(id, e.extents());
    if (e.temporary) m_temporary.insert(id.handle());
    if (!e.owner.isNull()) m_members[e.owner.handle()].insert(id.handle());
    m_entities.emplace(id.handle(), std::move(e));
    m_nextId = std::max(m_nextId, id.handle() + 1);
    return Acad::eOk;
}

void Drawing::reserveIds(std::int64_t next) {
    m_nextId = std::max(m_nextId, next);
}

void Drawing::clearTemporary() {
    std::vector<AcDbObjectId> gone = temporaryIds();
    if (gone.empty()) return;
    for (AcDbObjectId id : gone)
        forget(id);
    notify(DrawingChange::Erased, std::move(gone));
}

const Entity* Drawing::get(AcDbObjectId id) const {
    auto it = m_entities.find(id.handle());
    return it == m_entities.end() ? nullptr : &it->second;
}

Acad::ErrorStatus Drawing::modify(AcDbObjectId id, const std::function<void(Entity&)>& edit,
                                  std::string* error) {
    auto it = m_entities.find(id.handle());
    if (it == m_entities.end()) {
        setError(error, "no entity " + std::to_string(id.handle()));
        return Acad::eKeyNotFound;
    }
    Entity copy = it->second;
    edit(copy);
    // The edit may have changed the drawing itself (erased the entity, added others).
    it = m_entities.find(id.handle());
    if (it == m_entities.end()) {
        setError(error, "the entity " + std::to_string(id.handle()) + " was erased while it was changed");
        return Acad::eKeyNotFound;
    }
    const Entity& old = it->second;
    std::string fault;
    if (copy.id != old.id || copy.owner != old.owner || copy.kind() != old.kind() ||
        copy.temporary != old.temporary)
        fault = "the id, owner, kind and temporary flag of an entity cannot change";
    if (fault.empty()) fault = entityFault(copy);
    if (!fault.empty()) {
        setError(error, fault);
        return Acad::eInvalidInput;
    }
    if (copy == old) return Acad::eOk;
    it->second = std::move(copy);
    if (!it->second.temporary && it->second.kind() != EntityKind::MacroGroup)
        m_index.insert(id, it->second.extents());
    notify(DrawingChange::Modified, {id});
    return Acad::eOk;
}

void Drawing::forget(AcDbObjectId id) {
    auto it = m_entities.find(id.handle());
    if (it == m_entities.end()) return;
    if (!it->second.owner.isNull()) {
        auto m = m_members.find(it->second.owner.handle());
        if (m != m_members.end()) {
            m->second.erase(id.handle());
            if (m->second.empty()) m_members.erase(m);
        }
    }
    m_members.erase(id.handle());
    m_index.erase(id);
    m_temporary.erase(id.handle());
    m_highlighted.erase(id);
    m_entities.erase(it);
}

Acad::ErrorStatus Drawing::erase(AcDbObjectId id) {
    if (!get(id)) return Acad::eKeyNotFound;
    std::vector<AcDbObjectId> gone = allMembers(id);
    gone.insert(gone.begin(), id);
    // Members first, so that each still finds its owner's list.
    for (auto it = gone.rbegin(); it != gone.rend(); ++it)
        forget(*it);
    notify(DrawingChange::Erased, std::move(gone));
    return Acad::eOk;
}

std::vector<AcDbObjectId> Drawing::ids() const {
    std::vector<AcDbObjectId> out;
    out.reserve(m_entities.size());
    for (const auto& [h, e] : m_entities)
        out.push_back(e.id);
    return out;
}

std::vector<AcDbObjectId> Drawing::temporaryIds() const {
    std::vector<AcDbObjectId> out;
    out.reserve(m_temporary.size());
    for (std::int64_t h : m_temporary)
        out.emplace_back(h);
    return out;
}

std::vector<AcDbObjectId> Drawing::ids(EntityKind kind) const {
    std::vector<AcDbObjectId> out;
    for (const auto& [h, e] : m_entities)
        if (e.kind() == kind) out.push_back(e.id);
    return out;
}

std::vector<AcDbObjectId> Drawing::members(AcDbObjectId owner) const {
    std::vector<AcDbObjectId> out;
    auto m = m_members.find(owner.handle());
    if (m != m_members.end())
        for (std::int64_t h : m->second)
            out.emplace_back(h);
    return out;
}

std::vector<AcDbObjectId> Drawing::allMembers(AcDbObjectId owner) const {
    std::vector<AcDbObjectId> out = members(owner);
    for (std::size_t i = 0; i < out.size(); ++i) {
        std::vector<AcDbObjectId> more = members(out[i]);
        out.insert(out.end(), more.begin(), more.end());
    }
    return out;
}

AcDbObjectId Drawing::findByName(std::string_view name) const {
    for (const auto& [h, e] : m_entities)
        if (e.name == name) return e.id;
    return {};
}

Extents Drawing::extents(AcDbObjectId id) const {
    const Entity* e = get(id);
    if (!e) return {};
    Extents box = e->extents();
    if (e->kind() == EntityKind::MacroGroup)
        for (AcDbObjectId m : allMembers(id))
            box.add(get(m)->extents());
    return box;
}

Extents Drawing::extentsAll() const {
    Extents box;
    for (const auto& [h, e] : m_entities)
        if (!e.temporary) box.add(e.extents());
    return box;
}

std::vector<AcDbObjectId> Drawing::overlapping(const Extents& box) const {
    std::vector<AcDbObjectId> out = m_index.query(box);
    std::sort(out.begin(), out.end());
    return out;
}

void Drawing::changeView(ViewDirection direction) {
    changeView(viewVector(direction));
}

bool Drawing::changeView(const Vector3d& towardsEye) {
    if (!(towardsEye.length() > 0) || !(towardsEye.length() < 1e300)) return false;
    if (towardsEye == m_view) return true;
    m_view = towardsEye;
    notify(DrawingChange::View, {});
    return true;
}

bool Drawing::zoomToObjects(const std::vector<AcDbObjectId>& ids) {
    Extents box;
    for (AcDbObjectId id : ids)
        box.add(extents(id));
    if (box.isEmpty()) return false;
    m_zoom = box;
    notify(DrawingChange::View, ids);
    return true;
}

bool Drawing::zoomExtents() {
    Extents box = extentsAll();
    if (box.isEmpty()) return false;
    m_zoom = box;
    notify(DrawingChange::View, {});
    return true;
}

Acad::ErrorStatus Drawing::highlight(AcDbObjectId id, bool on) {
    if (!get(id)) return Acad::eKeyNotFound;
    bool changed = on ? m_highlighted.insert(id).second : m_highlighted.erase(id) != 0;
    if (changed) notify(DrawingChange::Highlight, {id});
    return Acad::eOk;
}

void Drawing::clearHighlights() {
    if (m_highlighted.empty()) return;
    std::vector<AcDbObjectId> was(m_highlighted.begin(), m_highlighted.end());
    m_highlighted.clear();
    notify(DrawingChange::Highlight, std::move(was));
}

void Drawing::updateDisplay() {
    ++m_displayUpdates;
    notify(DrawingChange::Display, {}, false);
}

int Drawing::addListener(DrawingListener listener) {
    int token = m_nextToken++;
    m_listeners.push_back({token, std::make_shared<DrawingListener>(std::move(listener))});
    return token;
}

void Drawing::removeListener(int token) {
    std::erase_if(m_listeners, [&](const Listener& l) { return l.token == token; });
}

void Drawing::notify(DrawingChange::Kind kind, std::vector<AcDbObjectId> ids, bool bump) {
    if (bump) ++m_revision;
    DrawingChange change{kind, std::move(ids), m_revision};
    // A copy: a listener may add or remove listeners; one removed meanwhile is not called.
    std::vector<Listener> now = m_listeners;
    for (const Listener& l : now) {
        bool still = std::any_of(m_listeners.begin(), m_listeners.end(),
                                 [&](const Listener& x) { return x.token == l.token; });
        if (still) (*l.call)(change);
    }
}

void Drawing::takeContentOf(Drawing& other) {
    m_entities = std::move(other.m_entities);
    m_members = std::move(other.m_members);
    m_index = std::move(other.m_index);
    m_temporary = std::move(other.m_temporary);
    m_nextId = other.m_nextId;
    m_view = other.m_view;
    m_zoom = other.m_zoom;
    m_highlighted.clear();
    other.m_entities.clear();
    other.m_members.clear();
    other.m_index.clear();
    other.m_temporary.clear();
    std::vector<AcDbObjectId> all = ids();
    notify(DrawingChange::Replaced, std::move(all));
}

void Drawing::clear() {
    std::vector<AcDbObjectId> all = ids();
    m_entities.clear();
    m_members.clear();
    m_index.clear();
    m_temporary.clear();
    m_highlighted.clear();
    if (!all.empty()) notify(DrawingChange::Erased, std::move(all));
}

bool Drawing::sameContent(const Drawing& other) const {
    return m_entities == other.m_entities && m_nextId == other.m_nextId && m_view == other.m_view;
}

Drawing& curDrawing() {
    static Drawing drawing;
    return drawing;
}

} // namespace cad

void changeView(cad::ViewDirection direction) {
    cad::curDrawing().changeView(direction);
}

bool ZoomCommand(const std::vector<AcDbObjectId>& ids) {
    return ids.empty() ? cad::curDrawing().zoomExtents() : cad::curDrawing().zoomToObjects(ids);
}
