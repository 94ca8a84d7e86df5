#pragma once
// Picks in the drawing as requests. Whoever serves picks answers them: a person clicking in a view,
// or a queue of answers that a script or a test fills. No server, or an empty queue, answers cancel.
//
// A dialog that lets the user pick hides itself for the pick: it calls `BeginEditorCommand`, picks,
// and calls `CompleteEditorCommand`. The windowing layer registers the hook that hides and shows the
// dialog, and says when a dialog is on screen; a pick made outside the bracket while one is shown is
// recorded as a fault, so that tests catch a dialog that forgot to step aside.

#include <cad/Drawing.h>

#include <deque>
#include <string>
#include <vector>

namespace cad {

/// What is asked for.
enum class PickKind {
    Object,   ///< one entity
    Point,    ///< a point in model space
    Objects,  ///< several entities (none is a valid answer)
    Plane,    ///< a plane: a point and a normal
    CoordSys, ///< a coordinate system entity
};

struct PickRequest {
    PickKind kind = PickKind::Object;
    std::string prompt;              ///< shown on the command line
    std::vector<EntityKind> allowed; ///< entity kinds that may be picked; empty: any
};

struct PickResult {
    bool ok = false;               ///< false: cancelled
    std::vector<AcDbObjectId> ids; ///< Object, Objects, CoordSys (and Plane when taken from an entity)
    Point3d point;                 ///< Point
    Plane plane;                   ///< Plane
    CoordSys coordSys;             ///< CoordSys: the picked entity's placement
};

/// Answers picks.
class PickServer {
public:
    virtual ~PickServer() = default;
    /// The answer to `request` in `drawing`; `ok` false for cancel.
    virtual PickResult answer(const PickRequest& request, const Drawing& drawing) = 0;
};

/// Answers picks from a queue, first in first out. An answer of the wrong kind, naming an entity that
/// does not exist or is of a kind the request does not allow, cancels the pick and is recorded.
class QueuePickServer : public PickServer {
public:
    struct Answer {
        PickKind kind = PickKind::Object;
        bool cancel = false;
        std::vector<std::string> names; ///< entities by name (resolved when the pick is made)
        std::vector<AcDbObjectId> ids;  ///< or by id
        Point3d point;
        Plane plane;

        static Answer object(std::string name) { return {PickKind::Object, false, {std::move(name)}}; }
        static Answer object(AcDbObjectId id) { return {PickKind::Object, false, {}, {id}}; }
        static Answer objects(std::vector<std::string> names) {
            return {PickKind::Objects, false, std::move(names)};
        }
        static Answer at(Point3d p) { return {PickKind::Point, false, {}, {}, p}; }
        static Answer onPlane(Plane p) { return {PickKind::Plane, false, {}, {}, {}, p}; }
        static Answer coordSys(std::string name) { return {PickKind::CoordSys, false, {std::move(name)}}; }
        static Answer cancelled(PickKind kind) { return {kind, true}; }
    };

    void push(Answer answer) { m_answers.push_back(std::move(answer)); }
    std::size_t pending() const { return m_answers.size(); }
    /// Why answers were refused, one message each ("line 3: ..." is the script's to add).
    const std::vector<std::string>& faults() const { return m_faults; }
    PickResult answer(const PickRequest& request, const Drawing& drawing) override;

private:
    std::deque<Answer> m_answers;
    std::vector<std::string> m_faults;
};

/// Called around a pick to hide the calling dialog and show it again.
class EditorCommandHook {
public:
    virtual ~EditorCommandHook() = default;
    virtual void beginEditorCommand(void* dialog) = 0;
    virtual void completeEditorCommand(void* dialog, bool restoreDialog) = 0;
};

/// Who serves picks (not owned; null: every pick is cancelled).
void setPickServer(PickServer* server);
PickServer* pickServer();
/// The windowing layer's hook (not owned; null: the bracket only counts).
void setEditorCommandHook(EditorCommandHook* hook);
/// The windowing layer says whether a dialog is on screen.
void setDialogShown(bool shown);

/// Asks the pick server in the current drawing; cancel without a server. The prompt goes to the
/// command line.
PickResult pick(const PickRequest& request);

/// True inside a `BeginEditorCommand` / `CompleteEditorCommand` bracket.
bool inEditorCommand();
/// What went wrong with brackets and picks since the last clear: a pick while a dialog was shown
/// outside a bracket, a bracket begun twice, completed without a begin.
const std::vector<std::string>& editorFaults();
void clearEditorFaults();

} // namespace cad

/// Hides the calling dialog and hands the focus to the drawing; false when a bracket is open already.
bool BeginEditorCommand(void* dialog = nullptr);
/// Shows the dialog again (when `restoreDialog`) and takes the focus back.
void CompleteEditorCommand(void* dialog = nullptr, bool restoreDialog = true);
