#include "platform/memory/MemoryRegistry.h"

#include <algorithm>
#include <unordered_map>

namespace lindqua {

namespace {

// The length Windows gives a name: asked for every name of a key each time
// its counts are read, so counted without converting it.
std::uint32_t Utf16Units(std::string_view utf8) noexcept { return static_cast<std::uint32_t>(Utf16Length(utf8)); }
constexpr std::size_t MaxKeyNameLength = 255;
constexpr std::size_t MaxValueNameLength = 16383;

std::vector<std::string_view> SplitPath(std::string_view path) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}
}  // namespace

// Subkeys are kept sorted as Windows keeps them: by name with ASCII letters
// upper-cased, compared as UTF-16 code units. Values keep the order in which
// they were first set, as on Windows.
std::u16string SubKeySortKey(std::string_view name) { return Utf8ToUtf16(UpperCase(name)); }

struct MemoryRegistry::Node : std::enable_shared_from_this<MemoryRegistry::Node> {
  std::string name;
  std::u16string sortKey;
  Node* parent = nullptr;
  bool deleted = false;
  std::uint32_t deniedAccess = 0;
  std::vector<std::shared_ptr<Node>> children;  // sorted by sortKey
  std::vector<RegValueEntry> values;
  std::unordered_map<std::string, std::size_t> valueIndex;
  // The longest names and data, kept as they grow: Windows answers a key's
  // counts without visiting its names, and a scan asks for them on every
  // key. A removal or a shrink leaves them to be worked out again.
  std::uint32_t maxSubKeyLength = 0, maxValueNameLength = 0, maxDataLength = 0;
  bool maximaStale = false;

  void Grew(std::uint32_t& maximum, std::uint32_t length) { maximum = std::max(maximum, length); }

  void RecountMaxima() {
    maxSubKeyLength = maxValueNameLength = maxDataLength = 0;
    for (auto& c : children) Grew(maxSubKeyLength, Utf16Units(c->name));
    for (auto& v : values) {
      Grew(maxValueNameLength, Utf16Units(v.name));
      Grew(maxDataLength, static_cast<std::uint32_t>(v.value.data.size()));
    }
    maximaStale = false;
  }

  auto LowerBound(const std::u16string& key) {
    return std::lower_bound(children.begin(), children.end(), key,
                            [](const std::shared_ptr<Node>& c, const std::u16string& k) { return c->sortKey < k; });
  }

  // Every key is opened by name, often many times over: an ASCII name's sort
  // key is built in a buffer kept by the thread instead of two new strings.
  Node* FindChild(std::string_view childName) {
    thread_local std::u16string key;
    if (std::all_of(childName.begin(), childName.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
      key.clear();
      for (char c : childName) key.push_back(static_cast<char16_t>(AsciiUpper(c)));
    } else {
      key = SubKeySortKey(childName);
    }
    auto it = LowerBound(key);
    return (it != children.end() && (*it)->sortKey == key) ? it->get() : nullptr;
  }

  Node* AddChild(std::string_view childName) {
    auto node = std::make_shared<Node>();
    node->name = std::string(childName);
    node->sortKey = SubKeySortKey(childName);
    node->parent = this;
    Grew(maxSubKeyLength, Utf16Units(childName));
    auto it = children.insert(LowerBound(node->sortKey), std::move(node));
    return it->get();
  }

  void RemoveChild(Node* child) {
    auto it = std::find_if(children.begin(), children.end(), [&](const auto& c) { return c.get() == child; });
    if (it == children.end()) return;
    MarkDeleted(**it);
    children.erase(it);
    maximaStale = true;
  }

  static void MarkDeleted(Node& node) {
    node.deleted = true;
    for (auto& c : node.children) MarkDeleted(*c);
  }

  RegValueEntry* FindValue(std::string_view valueName) {
    auto it = valueIndex.find(UpperCase(valueName));
    return it == valueIndex.end() ? nullptr : &values[it->second];
  }

  void ReindexValues() {
    valueIndex.clear();
    for (std::size_t i = 0; i < values.size(); ++i) valueIndex.emplace(UpperCase(values[i].name), i);
  }
};

struct MemoryRegistry::State {
  std::mutex mutex;
  std::shared_ptr<Node> machine = std::make_shared<Node>();
  std::shared_ptr<Node> users = std::make_shared<Node>();
  std::shared_ptr<Node> config = std::make_shared<Node>();
  Node* classesRoot = nullptr;
  Node* currentUser = nullptr;

  Node* RootNode(RootKey root) {
    switch (root) {
      case RootKey::ClassesRoot: return classesRoot;
      case RootKey::CurrentUser: return currentUser;
      case RootKey::LocalMachine: return machine.get();
      case RootKey::Users: return users.get();
      case RootKey::CurrentConfig: return config.get();
    }
    return nullptr;
  }
};

namespace {

using Node = MemoryRegistry::Node;

// The key at `path` below `from`, or nullptr; the names are those SplitPath
// gives, walked without collecting them first, as every open does this.
Node* FindPath(Node* from, std::string_view path) {
  Node* node = from;
  for (std::size_t start = 0; node && start <= path.size();) {
    std::size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) node = node->FindChild(path.substr(start, end - start));
    start = end + 1;
  }
  return node;
}
using State = MemoryRegistry::State;

// Child nodes are owned by their parent's vector; a handle keeps its node
// alive through the owning pointer chain of the state, and checks `deleted`
// before every use, as Windows answers ERROR_KEY_DELETED.
class MemoryKey : public RegistryKey {
 public:
  MemoryKey(std::shared_ptr<State> state, Node* node, std::shared_ptr<Node> keepAlive, std::uint32_t access)
      : state_(std::move(state)), node_(node), keepAlive_(std::move(keepAlive)), access_(access) {}

  RegStatus OpenSubKey(std::string_view path, std::uint32_t access, std::unique_ptr<RegistryKey>& out) override {
    std::lock_guard lock(state_->mutex);
    if (node_->deleted) return RegStatus::Failed;
    Node* node = FindPath(node_, path);
    if (!node) return RegStatus::NotFound;
    if (node->deniedAccess & access) return RegStatus::AccessDenied;
    out = std::make_unique<MemoryKey>(state_, node, KeepAliveFor(node), access);
    return RegStatus::Ok;
  }

  RegStatus CreateSubKey(std::string_view path, std::uint32_t access, std::unique_ptr<RegistryKey>& out) override {
    std::lock_guard lock(state_->mutex);
    if (node_->deleted) return RegStatus::Failed;
    auto parts = SplitPath(path);
    for (auto part : parts)
      if (part.size() > MaxKeyNameLength) return RegStatus::InvalidArgument;
    Node* node = node_;
    for (auto part : parts) {
      Node* child = node->FindChild(part);
      if (!child) {
        // Like Windows, creating below the handle's own key needs the right on that handle.
        if (node == node_ && !(access_ & RegAccess::CreateSubKey)) return RegStatus::AccessDenied;
        if (node->deniedAccess & RegAccess::CreateSubKey) return RegStatus::AccessDenied;
        child = node->AddChild(part);
      }
      node = child;
    }
    if (node->deniedAccess & access) return RegStatus::AccessDenied;
    out = std::make_unique<MemoryKey>(state_, node, KeepAliveFor(node), access);
    return RegStatus::Ok;
  }

  RegStatus EnumSubKeys(std::vector<std::string>& names) override {
    std::lock_guard lock(state_->mutex);
    names.clear();
    if (node_->deleted) return RegStatus::Failed;
    if (!(access_ & RegAccess::EnumerateSubKeys)) return RegStatus::AccessDenied;
    names.reserve(node_->children.size());
    for (auto& c : node_->children) names.push_back(c->name);
    return RegStatus::Ok;
  }

  RegStatus EnumValues(std::vector<std::string>& names) override {
    std::lock_guard lock(state_->mutex);
    names.clear();
    if (node_->deleted) return RegStatus::Failed;
    if (!(access_ & RegAccess::QueryValue)) return RegStatus::AccessDenied;
    names.reserve(node_->values.size());
    for (auto& v : node_->values) names.push_back(v.name);
    return RegStatus::Ok;
  }

  RegStatus EnumValueEntries(std::vector<RegValueEntry>& entries) override {
    std::lock_guard lock(state_->mutex);
    if (node_->deleted || !(access_ & RegAccess::QueryValue)) {
      entries.clear();
      return node_->deleted ? RegStatus::Failed : RegStatus::AccessDenied;
    }
    // Assigned over what the list held: a caller that keeps one list for
    // many keys reuses its entries' memory.
    entries = node_->values;
    return RegStatus::Ok;
  }

  RegStatus QueryValue(std::string_view name, RegValue& out) override {
    std::lock_guard lock(state_->mutex);
    if (node_->deleted) return RegStatus::Failed;
    if (!(access_ & RegAccess::QueryValue)) return RegStatus::AccessDenied;
    RegValueEntry* v = node_->FindValue(name);
    if (!v) return RegStatus::NotFound;
    out = v->value;
    return RegStatus::Ok;
  }

  RegStatus QueryInfo(RegKeyInfo& out) override {
    std::lock_guard lock(state_->mutex);
    out = RegKeyInfo{};
    if (node_->deleted) return RegStatus::Failed;
    out.subKeyCount = static_cast<std::uint32_t>(node_->children.size());
    out.valueCount = static_cast<std::uint32_t>(node_->values.size());
    if (node_->maximaStale) node_->RecountMaxima();
    out.maxSubKeyLength = node_->maxSubKeyLength;
    out.maxValueNameLength = node_->maxValueNameLength;
    out.maxDataLength = node_->maxDataLength;
    return RegStatus::Ok;
  }

  RegStatus SetValue(std::string_view name, std::uint32_t type, std::span<const std::uint8_t> data) override {
    std::lock_guard lock(state_->mutex);
    if (node_->deleted) return RegStatus::Failed;
    if (!(access_ & RegAccess::SetValue)) return RegStatus::AccessDenied;
    if (name.size() > MaxValueNameLength * 3 || Utf8ToUtf16(name).size() > MaxValueNameLength)
      return RegStatus::InvalidArgument;
    const auto dataLength = static_cast<std::uint32_t>(data.size());
    if (RegValueEntry* v = node_->FindValue(name)) {
      if (v->value.data.size() > data.size()) node_->maximaStale = true;
      node_->Grew(node_->maxDataLength, dataLength);
      v->value.type = type;
      v->value.data.assign(data.begin(), data.end());
      return RegStatus::Ok;
    }
    node_->Grew(node_->maxValueNameLength, Utf16Units(name));
    node_->Grew(node_->maxDataLength, dataLength);
    node_->values.push_back(RegValueEntry{std::string(name), RegValue{type, Bytes(data.begin(), data.end())}});
    node_->valueIndex.emplace(UpperCase(name), node_->values.size() - 1);
    return RegStatus::Ok;
  }

  RegStatus DeleteValue(std::string_view name) override {
    std::lock_guard lock(state_->mutex);
    if (node_->deleted) return RegStatus::Failed;
    if (!(access_ & RegAccess::SetValue)) return RegStatus::AccessDenied;
    auto it = node_->valueIndex.find(UpperCase(name));
    if (it == node_->valueIndex.end()) return RegStatus::NotFound;
    node_->values.erase(node_->values.begin() + static_cast<std::ptrdiff_t>(it->second));
    node_->maximaStale = true;
    node_->ReindexValues();
    return RegStatus::Ok;
  }

  RegStatus DeleteSubKeyTree(std::string_view path) override {
    std::lock_guard lock(state_->mutex);
    if (node_->deleted) return RegStatus::Failed;
    Node* node = FindPath(node_, path);
    if (node == node_) return RegStatus::InvalidArgument;  // the path names no key below this one
    if (!node) return RegStatus::NotFound;
    if (IsRootNode(node)) return RegStatus::AccessDenied;
    node->parent->RemoveChild(node);
    return RegStatus::Ok;
  }

 private:
  // A root, or a key holding the keys that HKEY_CLASSES_ROOT and
  // HKEY_CURRENT_USER show (Software under HKEY_LOCAL_MACHINE, the user's key
  // under HKEY_USERS): Windows refuses deleting those hives, and the views
  // must never point at a deleted key.
  bool IsRootNode(Node* node) const {
    if (!node->parent) return true;
    for (const Node* view : {state_->classesRoot, state_->currentUser})
      for (const Node* n = view; n; n = n->parent)
        if (n == node) return true;
    return false;
  }

  // A node is kept alive by the shared pointer in its parent; a handle holds
  // that pointer so the node outlives its deletion while the handle is open.
  static std::shared_ptr<Node> KeepAliveFor(Node* node) { return node->parent ? node->shared_from_this() : nullptr; }

  std::shared_ptr<State> state_;
  Node* node_;
  std::shared_ptr<Node> keepAlive_;
  std::uint32_t access_;
};

Node* EnsurePath(Node* from, std::string_view path) {
  Node* node = from;
  for (auto part : SplitPath(path)) {
    Node* child = node->FindChild(part);
    node = child ? child : node->AddChild(part);
  }
  return node;
}

}  // namespace

MemoryRegistry::MemoryRegistry() : state_(std::make_shared<State>()) {
  EnsurePath(state_->users.get(), ".Default");
  state_->currentUser = EnsurePath(state_->users.get(), CurrentUserSid);
  state_->classesRoot = EnsurePath(state_->machine.get(), "Software\\Classes");
}

MemoryRegistry::~MemoryRegistry() = default;

RegStatus MemoryRegistry::OpenRoot(RootKey root, std::uint32_t access, std::unique_ptr<RegistryKey>& out) {
  std::lock_guard lock(state_->mutex);
  Node* node = state_->RootNode(root);
  if (!node) return RegStatus::InvalidArgument;
  out = std::make_unique<MemoryKey>(state_, node, nullptr, access);
  return RegStatus::Ok;
}

bool MemoryRegistry::DenyAccess(RootKey root, std::string_view path, std::uint32_t deniedMask) {
  std::lock_guard lock(state_->mutex);
  Node* node = FindPath(state_->RootNode(root), path);
  if (!node) return false;
  node->deniedAccess = deniedMask;
  return true;
}

}  // namespace lindqua
