#include "platform/fake/MemoryRegistry.h"

#include "engine/CodePage.h"

namespace platform {
namespace {

std::vector<std::string> components(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (c == '\\') {
            if (!part.empty())
                parts.push_back(std::move(part));
            part.clear();
        } else {
            part.push_back(c);
        }
    }
    if (!part.empty())
        parts.push_back(std::move(part));
    return parts;
}

std::string join(const std::vector<std::string>& parts, std::size_t count) {
    std::string path;
    for (std::size_t i = 0; i < count; ++i) {
        if (i)
            path.push_back('\\');
        path += parts[i];
    }
    return path;
}

std::string fold(const std::string& text) {
    return engine::upperUtf8(text);
}

} // namespace

// An open key: a view on the registry's node, which lives as long as the registry.
class MemoryRegistry::Key : public RegistryKey {
public:
    Key(MemoryRegistry& registry, Node& node) : m_registry(registry), m_node(node) {}

    std::vector<std::string> valueNames() const override {
        std::vector<std::string> names;
        for (const auto& v : m_node.values)
            if (!v.name.empty())
                names.push_back(v.name);
        return names;
    }

    bool hasValue(const std::string& name) const override { return m_node.find(name) != nullptr; }

    std::optional<std::string> readString(const std::string& name) const override {
        const Value* v = m_node.find(name);
        if (!v)
            return std::nullopt;
        if (!v->isString)
            throw RegistryError("Invalid data type for '" + name + "'");
        // The ANSI calls hand out Windows-1251 text.
        return engine::utf8FromCp1251(engine::cp1251FromUtf8Lossy(v->data));
    }

    void writeString(const std::string& name, const std::string& data) override {
        if (!m_registry.m_writable)
            throw RegistryError("Failed to set data for '" + name + "'");
        if (Value* v = m_node.find(name)) {
            v->data = data;
            v->isString = true;
        } else {
            m_node.values.push_back({name, data, true});
        }
    }

    bool deleteValue(const std::string& name) override {
        if (!m_registry.m_writable)
            return false;
        const auto folded = fold(name);
        for (auto it = m_node.values.begin(); it != m_node.values.end(); ++it) {
            if (fold(it->name) == folded) {
                m_node.values.erase(it);
                return true;
            }
        }
        return false;
    }

    void flush() override { ++m_registry.m_flushes; }

private:
    MemoryRegistry& m_registry;
    Node& m_node;
};

MemoryRegistry::Value* MemoryRegistry::Node::find(const std::string& name) {
    const auto folded = fold(name);
    for (auto& v : values)
        if (fold(v.name) == folded)
            return &v;
    return nullptr;
}

const MemoryRegistry::Value* MemoryRegistry::Node::find(const std::string& name) const {
    return const_cast<Node*>(this)->find(name);
}

MemoryRegistry::MemoryRegistry() {
    m_keys[{RegistryRoot::CurrentUser, ""}] = Node{};
    m_keys[{RegistryRoot::LocalMachine, ""}] = Node{};
}

MemoryRegistry::~MemoryRegistry() = default;

MemoryRegistry::Node* MemoryRegistry::node(RegistryRoot root, const std::string& path) {
    const auto parts = components(path);
    const auto it = m_keys.find({root, fold(join(parts, parts.size()))});
    return it == m_keys.end() ? nullptr : &it->second;
}

const MemoryRegistry::Node* MemoryRegistry::node(RegistryRoot root, const std::string& path) const {
    return const_cast<MemoryRegistry*>(this)->node(root, path);
}

MemoryRegistry::Node& MemoryRegistry::ensure(RegistryRoot root, const std::string& path, bool record) {
    const auto parts = components(path);
    Node* current = &m_keys[{root, ""}];
    for (std::size_t n = 1; n <= parts.size(); ++n) {
        const auto spelt = join(parts, n);
        const auto [it, inserted] = m_keys.try_emplace({root, fold(spelt)});
        if (inserted) {
            it->second.path = spelt;
            if (record)
                m_created.emplace_back(root, spelt);
        }
        current = &it->second;
    }
    return *current;
}

std::unique_ptr<RegistryKey> MemoryRegistry::openKey(RegistryRoot root, const std::string& path) {
    Node* n = node(root, path);
    if (!n)
        return nullptr;
    return std::make_unique<Key>(*this, *n);
}

std::unique_ptr<RegistryKey> MemoryRegistry::createKey(RegistryRoot root, const std::string& path) {
    return std::make_unique<Key>(*this, ensure(root, path, true));
}

void MemoryRegistry::plantKey(RegistryRoot root, const std::string& path) {
    ensure(root, path, false);
}

void MemoryRegistry::plantString(RegistryRoot root, const std::string& path, const std::string& name,
                                 const std::string& data) {
    Node& n = ensure(root, path, false);
    if (Value* v = n.find(name))
        *v = {v->name, data, true};
    else
        n.values.push_back({name, data, true});
}

void MemoryRegistry::plantNonString(RegistryRoot root, const std::string& path, const std::string& name) {
    Node& n = ensure(root, path, false);
    if (Value* v = n.find(name))
        v->isString = false;
    else
        n.values.push_back({name, {}, false});
}

bool MemoryRegistry::keyExists(RegistryRoot root, const std::string& path) const {
    return node(root, path) != nullptr;
}

std::optional<std::string> MemoryRegistry::stringValue(RegistryRoot root, const std::string& path,
                                                       const std::string& name) const {
    const Node* n = node(root, path);
    const Value* v = n ? n->find(name) : nullptr;
    if (!v || !v->isString)
        return std::nullopt;
    return v->data;
}

std::vector<std::string> MemoryRegistry::valueNames(RegistryRoot root, const std::string& path) const {
    std::vector<std::string> names;
    if (const Node* n = node(root, path))
        for (const auto& v : n->values)
            names.push_back(v.name);
    return names;
}

} // namespace platform
