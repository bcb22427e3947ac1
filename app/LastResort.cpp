#include "app/LastResort.h"

#include <dlfcn.h>

#include <QApplication>
#include <QMessageBox>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/ErrorHandler.h"
#include "app/MessageBox.h"
#include "textconv/ErrorText.h"
#include "textconv/Failures.h"

namespace vesk {
namespace {

struct CodeLocation {
    std::string module;
    std::uint32_t offset = 0;
};

// The file name (without folder) of the module that holds this code, and the
// offset of this function in it.
CodeLocation LocateStartupCode() {
    CodeLocation where;
    std::error_code error;
    where.module = std::filesystem::read_symlink("/proc/self/exe", error).filename().string();
    Dl_info info{};
    const auto* address = reinterpret_cast<const void*>(&LocateStartupCode);
    if (dladdr(address, &info) != 0 && info.dli_fbase) {
        const auto base = reinterpret_cast<std::uintptr_t>(info.dli_fbase);
        where.offset = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(address) - base);
        if (where.module.empty() && info.dli_fname)
            where.module = std::filesystem::path(info.dli_fname).filename().string();
    }
    return where;
}

}  // namespace

int LastResortHandler(std::exception_ptr caught) noexcept {
    try {
        std::string className = "Exception";
        std::string message;
        try {
            RethrowAsFailure(caught);
        } catch (const Exception& failure) {
            className = failure.ClassName();
            message = failure.Message();
        }
        const CodeLocation where = LocateStartupCode();
        const std::string text = LastResortText(className, where.module, where.offset, message);
        std::fprintf(stderr, "%s\n", text.c_str());
        if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
            TMessageBox box(QMessageBox::Critical, QString::fromUtf8(kLastResortCaption),
                            QString::fromStdString(text));
            box.setObjectName(QStringLiteral("LastResortBox"));
            box.setWindowModality(Qt::ApplicationModal);
            box.exec();
        }
    } catch (...) {
        // Nothing more can be shown; the process ends all the same.
    }
    return 1;
}

}  // namespace vesk
