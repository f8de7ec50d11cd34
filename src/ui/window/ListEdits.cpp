#include "ui/window/ListEdits.h"

#include <QAction>
#include <QListView>

#include "ui/list/IconListModel.h"
#include "ui/list/UndoStack.h"
#include "ui/window/MainWindow.h"
#include "ui/window/RunControl.h"
#include "ui/window/ScopeExit.h"
#include "ui/window/WindowRun.h"

namespace pictarix {

ListEdits::ListEdits(MainWindow& window, RunControl& runs, WindowRun& run,
                     std::function<void()> followSelection)
    : window_(window),
      runs_(runs),
      run_(run),
      followSelection_(std::move(followSelection)),
      undo_(std::make_unique<UndoStack>(window.Harvest())) {}

ListEdits::~ListEdits() = default;

void ListEdits::Rebuild(const std::function<void()>& change) {
  IconListModel& model = window_.ListModel();
  model.BeginRebuild();
  const ScopeExit rebuilt([&model] { model.EndRebuild(); });
  change();
}

void ListEdits::Remove() {
  runs_.Run({{},
             [this] {
               run_.TakeNewRows(true);
               if (window_.SelectedCount() == 0) return;
               const std::vector<bool> selected = window_.SelectedFlags();
               QListView& view = *window_.Parts().TileView;
               view.setEnabled(false);
               {
                 const ScopeExit enabled([&view] { view.setEnabled(true); });
                 Rebuild([this, &selected] { undo_->Remove(selected); });
               }
               followSelection_();
               run_.EndProcessing();
               ShowUndoState();
             },
             false});
}

void ListEdits::Clear(bool newList) {
  Rebuild([this, newList] { undo_->Clear(newList); });
  followSelection_();
  ShowUndoState();
}

void ListEdits::Undo() {
  runs_.Run({{},
             [this] {
               Rebuild([this] { undo_->Undo(); });
               ShowCounters(*window_.Parts().StatusLine, window_.Harvest());
               followSelection_();
               ShowUndoState();
             },
             false});
}

void ListEdits::ShowUndoState() {
  window_.Parts().Item("undo")->setEnabled(undo_->CanUndo() && !window_.RunInProgress());
}

}  // namespace pictarix
