#pragma once

#include <string>
#include <vector>

#include <QListWidget>
#include <QPixmap>
#include <QTreeWidget>

#include "runtime/Controls.h"

// List controls: a list with check marks and a tree whose nodes show state
// images from an image list.
namespace runtime {

// Images of one size, addressed by index, each with the words that tell a
// screen reader what it stands for.
class TImageList {
public:
    TImageList(int width, int height) : width_(width), height_(height) {}
    int Width() const { return width_; }
    int Height() const { return height_; }
    void Add(const QPixmap& image, const std::string& description = {});
    int Count() const { return static_cast<int>(images_.size()); }
    // The image at index, or a null picture outside the list.
    QPixmap Image(int index) const;
    // The description of the image at index, empty outside the list.
    std::string Description(int index) const;

private:
    int width_;
    int height_;
    std::vector<QPixmap> images_;
    std::vector<std::string> descriptions_;
};

class TCheckListBox : public QListWidget {
public:
    TCheckListBox(QWidget* parent, const std::string& name, const TBounds& bounds, const std::string& spokenName);

    void SetItemHeight(int height) { itemHeight_ = height; }
    int AddItem(const std::string& text);
    int Count() const { return count(); }
    std::string ItemText(int index) const;
    bool Checked(int index) const;
    void SetChecked(int index, bool checked);

private:
    int itemHeight_ = 16;
};

// A read-only tree whose top-level nodes carry a state image index; a screen
// reader hears the state image's description as the node's description.
class TTreeView : public QTreeWidget {
public:
    TTreeView(QWidget* parent, const std::string& name, const TBounds& bounds, const std::string& spokenName);

    void SetStateImages(const TImageList* images) { stateImages_ = images; }
    void Clear() { clear(); }
    // Adds a top-level node and returns its index.
    int AddNode(const std::string& text, int stateIndex);
    int Count() const { return topLevelItemCount(); }
    std::string NodeText(int index) const;
    int StateIndex(int index) const;
    void SetStateIndex(int index, int stateIndex);

private:
    const TImageList* stateImages_ = nullptr;
};

} // namespace runtime
