#pragma once
// PL/SQL-like texts for measuring the transforms: the benchmarks and the
// timing program that runs under Wine take them from here.
#include <random>
#include <span>
#include <string>

namespace quill::commands::bench {

// Lines picked at random, a quarter of them with trailing spaces and a few
// followed by blank lines, up to chars characters.
inline std::u16string TextOfLines(size_t chars, std::span<const char16_t* const> lines) {
    std::mt19937 rng(42);
    std::u16string text;
    text.reserve(chars + 256);
    while (text.size() < chars) {
        text += lines[rng() % lines.size()];
        const unsigned r = rng() % 16;
        if (r < 4) text.append(1 + r, u' ');
        text += u"\r\n";
        if (r == 15) text += u"\r\n\r\n";
    }
    text.resize(chars);
    return text;
}

// Literals plain, doubled, q-quoted and over two lines, comments of both kinds
// with quotes in them, SQL*Plus prompts and remarks; indentation by spaces and
// tabs (some tabs inside literals), trailing spaces, blank lines.
inline std::u16string LiteralRichText(size_t chars) {
    static const char16_t* const lines[] = {
        u"CREATE OR REPLACE PACKAGE BODY billing AS",
        u"  PROCEDURE close_month(p_month IN DATE, p_user IN VARCHAR2 DEFAULT USER) IS",
        u"    l_sql     VARCHAR2(4000) := q'[SELECT COUNT(*) FROM invoices WHERE status = 'OPEN']';",
        u"    l_note    VARCHAR2(200) := 'Month''s close by ' || USER;",
        u"\tl_total   NUMBER(12,2);",
        u"  BEGIN",
        u"    -- Rechnungen des Monats schließen (état « fermé »), don't touch 'PAID'",
        u"    /* the period is the calendar month; it's never NULL */",
        u"\tUPDATE invoices",
        u"\t   SET status = 'CLOSED', closed_by = p_user, closed_at = SYSDATE",
        u"\t WHERE period = TRUNC(p_month, 'MM')",
        u"\t   AND status IN ('OPEN', 'PENDING');",
        u"    l_count := SQL%ROWCOUNT;",
        u"    IF l_count > 0 THEN",
        u"      INSERT INTO audit_log (event, detail) VALUES ('CLOSE', TO_CHAR(l_count) || ' rows');",
        u"    END IF;",
        u"    dbms_output.put_line(nq'{Fertig:\t}' || l_count || \"Total\");",
        u"    l_msg := 'first line  \r\n\tsecond line';",
        u"  EXCEPTION",
        u"    WHEN OTHERS THEN",
        u"      raise_application_error(-20001, 'close_month: ' || SQLERRM);",
        u"  END close_month;",
        u"END billing;",
        u"/",
        u"PROMPT Don't forget the grants",
        u"REM it's done",
    };
    return TextOfLines(chars, lines);
}

}  // namespace quill::commands::bench
