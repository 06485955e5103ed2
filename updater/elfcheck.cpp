#include "updater/elfcheck.h"

#include <QFile>

#include <cstring>
#include <elf.h>

namespace kivo {

namespace {

// The ELF identification and machine of the running program: "this platform".
struct OwnIdentity
{
    unsigned char elfClass = 0;
    unsigned char byteOrder = 0;
    quint16 machine = 0;
};

OwnIdentity ownIdentity()
{
    OwnIdentity own;
    QFile self(QStringLiteral("/proc/self/exe"));
    if (!self.open(QIODevice::ReadOnly))
        return own;
    const QByteArray head = self.read(sizeof(Elf64_Ehdr));
    if (head.size() < qsizetype(EI_NIDENT + 2 * sizeof(quint16)))
        return own;
    own.elfClass = uchar(head[EI_CLASS]);
    own.byteOrder = uchar(head[EI_DATA]);
    std::memcpy(&own.machine, head.constData() + EI_NIDENT + sizeof(quint16), sizeof own.machine);
    return own;
}

template<typename Ehdr, typename Phdr> bool checkTables(const QByteArray &file, QString *why)
{
    if (file.size() < qsizetype(sizeof(Ehdr))) {
        *why = QStringLiteral("shorter than an ELF header");
        return false;
    }
    Ehdr h;
    std::memcpy(&h, file.constData(), sizeof h);
    const quint64 size = quint64(file.size());
    if (h.e_type != ET_EXEC && h.e_type != ET_DYN) {
        *why = QStringLiteral("not an executable (type %1)").arg(h.e_type);
        return false;
    }
    if (h.e_entry == 0 || h.e_phnum == 0 || h.e_phentsize != sizeof(Phdr)) {
        *why = QStringLiteral("no entry point or program headers");
        return false;
    }
    if (quint64(h.e_phoff) + quint64(h.e_phnum) * sizeof(Phdr) > size) {
        *why = QStringLiteral("program headers beyond the end of the file");
        return false;
    }
    if (h.e_shnum > 0 && quint64(h.e_shoff) + quint64(h.e_shnum) * h.e_shentsize > size) {
        *why = QStringLiteral("section headers beyond the end of the file");
        return false;
    }
    for (quint64 i = 0; i < h.e_phnum; ++i) {
        Phdr p;
        std::memcpy(&p, file.constData() + h.e_phoff + i * sizeof(Phdr), sizeof p);
        if (p.p_type == PT_LOAD && quint64(p.p_offset) + quint64(p.p_filesz) > size) {
            *why = QStringLiteral("a loadable segment beyond the end of the file");
            return false;
        }
    }
    return true;
}

} // namespace

bool isProgramForThisMachine(const QString &path, QString *why)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *why = f.errorString();
        return false;
    }
    const QByteArray file = f.readAll();
    if (file.size() < EI_NIDENT || std::memcmp(file.constData(), ELFMAG, SELFMAG) != 0) {
        *why = QStringLiteral("not an ELF file");
        return false;
    }
    static const OwnIdentity own = ownIdentity();
    quint16 machine = 0;
    if (file.size() >= EI_NIDENT + 4)
        std::memcpy(&machine, file.constData() + EI_NIDENT + sizeof(quint16), sizeof machine);
    if (uchar(file[EI_CLASS]) != own.elfClass || uchar(file[EI_DATA]) != own.byteOrder || machine != own.machine
        || uchar(file[EI_VERSION]) != EV_CURRENT) {
        *why = QStringLiteral("an ELF file for another machine");
        return false;
    }
    if (own.elfClass == ELFCLASS64)
        return checkTables<Elf64_Ehdr, Elf64_Phdr>(file, why);
    return checkTables<Elf32_Ehdr, Elf32_Phdr>(file, why);
}

} // namespace kivo
