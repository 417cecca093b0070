#!/usr/bin/env python3
# Writes the seed corpora of the fuzz targets (fuzz/corpus/<target>/): a few
# small, well-formed inputs of each format, written here from the formats
# themselves, so that the fuzzer starts from files that reach deep into each
# reader. Run once; the results are committed.
import gzip
import importlib.util
import io
import os
import struct
import tarfile
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
TOP = os.path.dirname(HERE)

spec = importlib.util.spec_from_file_location(
    "multipiece", os.path.join(TOP, "tests/scanservice/fixtures/make-multipiece-doc.py"))
multipiece = importlib.util.module_from_spec(spec)
spec.loader.exec_module(multipiece)

# A fixed time for archive members, so the seeds come out the same each run.
STAMP = (2024, 1, 2, 3, 4, 5)


def write(target, name, data):
    path = os.path.join(HERE, "corpus", target)
    os.makedirs(path, exist_ok=True)
    with open(os.path.join(path, name), "wb") as f:
        f.write(data)


MEMO = "会议纪要：新产品方案仍为机密。\nThis memo is confidential.\n"


def plaintext():
    # The first byte chooses the read size of the target (1 + b % 64 * 97).
    write("plaintext", "utf8", b"\x00" + MEMO.encode("utf-8"))
    write("plaintext", "utf8-bom", b"\x05" + b"\xef\xbb\xbf" + MEMO.encode("utf-8"))
    write("plaintext", "utf16le-bom", b"\x01" + b"\xff\xfe" + MEMO.encode("utf-16-le"))
    write("plaintext", "utf16be-bom", b"\x02" + b"\xfe\xff" + MEMO.encode("utf-16-be"))
    write("plaintext", "gb18030", b"\x03" + MEMO.encode("gb18030"))


def ppt_stream():
    # A document container holding a slide list with one text atom of each kind.
    def record(ver_inst, rtype, body):
        return struct.pack("<HHI", ver_inst, rtype, len(body)) + body
    chars = record(0x0000, 0x0FA0, "季度汇报 机密\r第二行".encode("utf-16-le"))
    bytes_ = record(0x0000, 0x0FA8, b"Quarterly report, confidential")
    header = record(0x0000, 0x0F9F, struct.pack("<I", 0))  # TextHeaderAtom: title
    slide_list = record(0x000F, 0x0FF0, header + chars + bytes_)
    return record(0x000F, 0x03E8, slide_list)


def xls_stream():
    def record(rtype, body):
        return struct.pack("<HH", rtype, len(body)) + body

    def xl_string(text, length16=True):
        data = text.encode("utf-16-le")
        count = len(text)
        return (struct.pack("<H", count) if length16 else struct.pack("<B", count)) + b"\x01" + data
    out = record(0x0809, struct.pack("<HHHHII", 0x0600, 0x0005, 0, 0, 0, 0))  # BOF, workbook globals
    out += record(0x0085, struct.pack("<IBB", 0, 0, 0) + xl_string("工资表", False))  # BOUNDSHEET
    sst = xl_string("姓名") + xl_string("工资（机密）")
    out += record(0x00FC, struct.pack("<II", 2, 2) + sst)
    out += record(0x0204, struct.pack("<HHH", 0, 0, 0) + xl_string("confidential"))  # LABEL
    out += record(0x0203, struct.pack("<HHH", 1, 0, 0) + struct.pack("<d", 12345.5))  # NUMBER
    out += record(0x027E, struct.pack("<HHH", 2, 0, 0) + struct.pack("<I", (42 << 2) | 2))  # RK
    out += record(0x000A, b"")  # EOF
    return out


def padded(data):
    return data + b"\x00" * max(0, multipiece.MINI_CUTOFF - len(data))


def legacy():
    word, table = multipiece.word_and_table(6)
    doc = multipiece.compound_file([("1Table", table), ("WordDocument", word)])
    write("doc", "six-pieces.doc", doc)
    write("compoundfile", "six-pieces.doc", doc)
    xls = multipiece.compound_file([("Workbook", padded(xls_stream()))])
    write("xls", "sheet.xls", xls)
    write("compoundfile", "sheet.xls", xls)
    ppt = multipiece.compound_file([("PowerPoint Document", padded(ppt_stream()))])
    write("ppt", "slides.ppt", ppt)
    write("compoundfile", "slides.ppt", ppt)
    # The LibreOffice-made test documents carry the structures a real writer adds.
    fixtures = os.path.join(TOP, "tests/scanservice/fixtures")
    for name, target in (("legacy.doc", "doc"), ("legacy.xls", "xls")):
        with open(os.path.join(fixtures, name), "rb") as f:
            write(target, name, f.read())


def zipped(members):
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w", zipfile.ZIP_DEFLATED) as z:
        for name, data in members:
            z.writestr(zipfile.ZipInfo(name, STAMP), data, zipfile.ZIP_DEFLATED)
    return buffer.getvalue()


W = 'xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"'
S = 'xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"'
A = 'xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main" xmlns:p="http://schemas.openxmlformats.org/presentationml/2006/main"'
R = 'xmlns="http://schemas.openxmlformats.org/package/2006/relationships"'


def docx():
    body = ('<w:document %s><w:body><w:p><w:r><w:t>投标方案：报价属于商业机密。</w:t></w:r></w:p>'
            '<w:tbl><w:tr><w:tc><w:p><w:r><w:t>合同编号</w:t></w:r></w:p></w:tc></w:tr></w:tbl>'
            '<w:p><w:del><w:r><w:delText>confidential</w:delText></w:r></w:del>'
            '<w:r><w:fldChar w:fldCharType="begin"/></w:r><w:r><w:instrText>PAGE</w:instrText></w:r>'
            '<w:r><w:fldChar w:fldCharType="end"/></w:r></w:p></w:body></w:document>') % W
    header = '<w:hdr %s><w:p><w:r><w:t>内部资料</w:t></w:r></w:p></w:hdr>' % W
    return zipped([("word/document.xml", body), ("word/header1.xml", header)])


def xlsx():
    strings = '<sst %s count="2" uniqueCount="2"><si><t>姓名</t></si><si><r><t>工资</t></r><r><t>（机密）</t></r></si></sst>' % S
    sheet = ('<worksheet %s><sheetData><row r="1"><c r="A1" t="s"><v>0</v></c>'
             '<c r="B1" t="inlineStr"><is><t>confidential</t></is></c></row></sheetData></worksheet>') % S
    return zipped([("xl/workbook.xml", '<workbook %s/>' % S), ("xl/sharedStrings.xml", strings),
                   ("xl/worksheets/sheet1.xml", sheet)])


def pptx():
    slide = '<p:sld %s><p:cSld><p:spTree><p:sp><p:txBody><a:p><a:r><a:t>季度汇报 机密</a:t></a:r></a:p></p:txBody></p:sp></p:spTree></p:cSld></p:sld>' % A
    notes = '<p:notes %s><p:cSld><p:spTree><p:sp><p:txBody><a:p><a:r><a:t>讲稿 confidential</a:t></a:r></a:p></p:txBody></p:sp></p:spTree></p:cSld></p:notes>' % A
    rels = ('<Relationships %s><Relationship Id="rId1" '
            'Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/notesSlide" '
            'Target="../notesSlides/notesSlide1.xml"/></Relationships>') % R
    return zipped([("ppt/presentation.xml", '<p:presentation %s/>' % A), ("ppt/slides/slide1.xml", slide),
                   ("ppt/slides/_rels/slide1.xml.rels", rels), ("ppt/notesSlides/notesSlide1.xml", notes)])


def tarred(members, mode="w"):
    buffer = io.BytesIO()
    with tarfile.open(fileobj=buffer, mode=mode, format=tarfile.USTAR_FORMAT) as t:
        for name, data in members:
            info = tarfile.TarInfo(name)
            info.size = len(data)
            info.mtime = 1704164645
            t.addfile(info, io.BytesIO(data))
    return buffer.getvalue()


def ooxml_and_archives():
    write("ooxml", "tender.docx", docx())
    write("ooxml", "wages.xlsx", xlsx())
    write("ooxml", "report.pptx", pptx())
    text = MEMO.encode("utf-8")
    write("archive", "documents.zip", zipped([("notes/memo.txt", text), ("tender.docx", docx())]))
    write("archive", "nested.zip", zipped([("inner.zip", zipped([("memo.txt", text)]))]))
    write("archive", "memo.tar", tarred([("memo.txt", text), ("gbk.txt", MEMO.encode("gb18030"))]))
    write("archive", "memo.tar.gz", gzip.compress(tarred([("memo.txt", text)]), mtime=0))
    write("archive", "memo.txt.gz", gzip.compress(text, mtime=0))


plaintext()
legacy()
ooxml_and_archives()
for target in sorted(os.listdir(os.path.join(HERE, "corpus"))):
    files = os.listdir(os.path.join(HERE, "corpus", target))
    print("%-13s %d seeds" % (target, len(files)))
