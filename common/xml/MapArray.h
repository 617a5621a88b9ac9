#pragma once
// CMapArray: the rows of one table, each a string map from attribute name
// to text, in document order. An entry may be empty (NULL): an element whose
// attribute collection holds nothing. The array owns its rows.
#include <windows.h>
#include <ole2.h>

#include <memory>
#include <vector>

#include "ComPtr.h"
#include "StringMap.h"
#include "infonode.h"

namespace vorlan {

class CMapArray {
public:
    int GetSize() const { return static_cast<int>(rows_.size()); }
    // Row i, or NULL when i is outside 0 .. count - 1 or the row is empty.
    StringMap* GetRow(int i) const;
    // Appends a row (NULL for an empty one) and returns its index.
    int Add(std::unique_ptr<StringMap> row);
    // Inserts a row at index (0 .. count), the later rows moving down;
    // false when index is outside that range.
    bool Insert(int index, std::unique_ptr<StringMap> row);
    // Removes and deletes row index; false when there is no such entry.
    bool Remove(int index);
    // Deletes every row; the array keeps its size, every entry empty.
    int DeleteRows();
    // A new InfoNode holding row i: S_FALSE and *out NULL when there is no
    // such row or it is empty; the creation's error when InfoNode can't be
    // made. The caller owns the node.
    HRESULT GetRowInfoNode(int i, IInfoNode** out) const;

private:
    std::vector<std::unique_ptr<StringMap>> rows_;
    mutable com::ComPtr<IClassFactory> nodeFactory_;
};

}  // namespace vorlan
